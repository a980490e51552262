#pragma once

#include <array>

// The three builds of the link program share one source. Each program links
// exactly one edition library; Edition::Current() is the one it was built as.
enum class EditionId { CareFacility, Standard, Top };

class Edition {
public:
    // Display name in code page 932, such as "ミズナラ２０"; the report's
    // default product name.
    const char* DisplayName() const { return displayName_; }
    // Prefix of the data files beside the program, such as "MznBrc20".
    const char* FilePrefix() const { return filePrefix_; }
    // Name of the program file: the prefix followed by "ToUg16_G".
    const char* ProgramName() const { return programName_; }
    EditionId Id() const { return id_; }

    static const Edition& Of(EditionId id);
    static const std::array<EditionId, 3>& All();
    // Defined once per edition library.
    static const Edition& Current();

    constexpr Edition(EditionId id, const char* displayName, const char* filePrefix,
                      const char* programName)
        : id_(id), displayName_(displayName), filePrefix_(filePrefix), programName_(programName) {}

private:
    EditionId id_;
    const char* displayName_;
    const char* filePrefix_;
    const char* programName_;
};
