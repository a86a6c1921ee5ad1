#include "reading/Compatibility.h"
#include "reading/NameRules.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3)
        return 2;
    std::printf("%d\n", compatibilityLevel(NameRules::normalize(QString::fromLocal8Bit(argv[1])),
                                           NameRules::normalize(QString::fromLocal8Bit(argv[2]))));
    return 0;
}
