#pragma once

class QMenuBar;
class QString;
class QWidget;

// What the program tells a screen reader beyond what Qt's own widgets say.
namespace Accessibility {

// Installs the program's accessible interfaces, once the application object exists. The program's links
// (LinkLabel, LinkCheckBox) are presented with the link role, and they and the program's frames
// (CaptionFrame) are not presented as showing while a sibling covers them whole or while they lie
// outside their parent; a screen reader is told when bringing a widget to the front changes that. Text
// fields answer every text request at once, with ranges inside the text. A window made of a plain widget
// is presented as a window with its title.
void install();

// The keys of the menu bar, with and without a screen reader: F10 selects the menu bar as Alt alone does
// (and leaves it again), as in Windows and GNOME programs. A command of the bar itself (an entry without a
// menu) gives the focus back where it was without Qt telling a screen reader, which would still present
// the entry: the focus is announced again.
//
// Qt's accessibility bridge holds each key back until the screen reader has seen it, then replays it; an
// access key acts at once, on the real key. The replay of an Alt held for an access key is dropped (it
// would close the menu just opened, or open the menu bar after a command); a lone Alt's replay reaches the
// open menu, which it closes, but not the menu bar, which has already acted on the real Alt. The filter is
// application-wide (it sees every window's keys) and lives as long as the menu bar.
void menuBarKeys(QMenuBar* menuBar);

// The window's description for a screen reader, said as the window first arrives; it is dropped when the
// window first loses the activation (to a message box, say), so that a return to it is not read again.
void describeArrival(QWidget* window, const QString& description);

} // namespace Accessibility
