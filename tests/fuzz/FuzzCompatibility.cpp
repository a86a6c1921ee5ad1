// The reading on any two UTF-16 names, short or far beyond the 32,766 characters of the data model,
// grouped as the slow reference grouping does it, with a level in range.

#include "FuzzInput.h"

#include "ReferenceReading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const std::uint8_t split = in.byte();
    const std::uint8_t repeat = in.byte();
    QString text = in.restAsUtf16();
    // A short pattern repeated reaches lengths far past the data model's limit without the fuzzer having
    // to grow its inputs that far. Only a few inputs take this path, and their pattern is kept short, so
    // the reference's scan of the groups stays quick.
    // The lengths straddle 32,766, and one character repeated alone passes 32,767 occurrences.
    if (repeat >= 252 && !text.isEmpty()) {
        const QString pattern = text.left(16);
        const qsizetype target = 32740 + qsizetype{repeat - 252} * 16;
        text = pattern.repeated(target / pattern.size() + 1).left(target);
    }
    const qsizetype at = text.size() * split / 255;
    const QString yours = text.left(at);
    const QString partners = text.mid(at);

    const CompatibilitySteps steps = compatibilitySteps(yours, partners);
    FUZZ_REQUIRE(groupsText(steps.groups) == groupsText(referenceGroups(yours, partners)),
                 "the groups differ");
    FUZZ_REQUIRE(steps.resultNumber >= 0 && steps.resultNumber <= 24, "result %d", steps.resultNumber);
    FUZZ_REQUIRE(steps.level >= 0 && steps.level <= 10, "level %d", steps.level);
    FUZZ_REQUIRE(compatibilityLevel(yours, partners) == steps.level, "the level differs from its steps");
    return 0;
}
