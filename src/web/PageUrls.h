#pragma once

#include "SiteConfig.h"

#include <QString>

// Addresses of the maker's pages. Each is one constant text, fixed when the program is built.
#define QZ_PAGE_BASE_URL "http://" QZ_SITE_HOST "/qz-free-name-compatibility/"
#define QZ_PAGE_URL(key) QZ_PAGE_BASE_URL "ssd.php?page=" key

namespace PageUrls {

inline constexpr char PageBaseUrl[] = QZ_PAGE_BASE_URL;
// The maker's home page as the About window names it: scheme and host only.
inline constexpr char SiteAddress[] = "http://" QZ_SITE_HOST;

inline constexpr char HomePage[] = QZ_PAGE_URL("home-page");
inline constexpr char HelpPage[] = QZ_PAGE_URL("help-web-page");
inline constexpr char DownloadPage[] = QZ_PAGE_URL("download-web-page");
inline constexpr char DonatePage[] = QZ_PAGE_URL("donate");
inline constexpr char CoBrandPage[] = QZ_PAGE_URL("co-brand");
inline constexpr char FullyBrandedPage[] = QZ_PAGE_URL("fully-branded");
inline constexpr char SoftwaresPage[] = QZ_PAGE_URL("kelpansoftwares");
inline constexpr char ReferAFriendPage[] = QZ_PAGE_URL("qzkl-refer-a-friend");

} // namespace PageUrls
