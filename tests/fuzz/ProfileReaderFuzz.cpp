// The profile reader on any file and lookup: byte 0 picks the buffer size (0-40) and the default, then
// "section NUL key NUL" when both NULs lie within 64 bytes (else ProgramLevel and UG16_G), then the file.
// The result fits its buffer and is the whole value, cut only where needed and never inside a character.
// The program's lookup of the same file as C:\prog\KumotoriDef.ini gives what its first MiB gives (byte 0
// 0xFF puts a comment in front, so that the cap cuts the file), and so does the check of its level.

#include "app/shell/EnvironmentCheck.h"
#include "platform/Cp932.h"
#include "platform/LeadingNumber.h"
#include "platform/ProfileReader.h"
#include "tests/fuzz/FuzzSupport.h"

static constexpr const char* kDefinitionFile = "C:\\prog\\KumotoriDef.ini";

MZN_FUZZ_TARGET(input) {
    if (input.Size() == 0) return;
    static const char* const kDefaults[] = {"1", nullptr, "", " default \t", "表ソ値"};
    const auto control = static_cast<unsigned char>(input.bytes[0]);
    const auto outSize = static_cast<std::uint32_t>(control % 41);
    const char* defaultValue = kDefaults[control / 41 % 5];
    std::string_view rest = input.Text().substr(1);
    std::string section = "ProgramLevel", key = "UG16_G";
    const std::size_t first = rest.find('\0'), second = rest.find('\0', first + 1);
    if (first != std::string_view::npos && second != std::string_view::npos && second < 64) {
        section = rest.substr(0, first), key = rest.substr(first + 1, second - first - 1);
        rest.remove_prefix(second + 1);
    }
    const std::string file(rest);  // an exact-size copy
    const auto read = [&](std::string_view bytes, Guarded& out) {
        return ProfileReader::GetString(bytes, section.c_str(), key.c_str(), defaultValue, out.Data(),
                                        static_cast<std::uint32_t>(out.size));
    };
    Guarded out(outSize), whole(rest.size() + 64);
    const std::uint32_t copied = read(file, out), length = read(file, whole);
    Require(length < whole.size && std::strlen(whole.Data()) == length, "the whole value does not fit");
    Require(outSize > 0 ? copied < outSize && std::strlen(out.Data()) == copied : copied == 0, "not the length");
    Require(out.Intact(outSize == 0 ? 0 : copied + 1), "bytes behind the result written");
    Require(std::memcmp(out.Data(), whole.Data(), copied) == 0, "the result is no prefix of the value");
    // Cut at outSize - 1 bytes, or one less where a double-byte character would be split.
    const bool cutAtEnd = copied + 1 == outSize;
    const bool leftOut = copied + 2 == outSize && Cp932::StartsDoubleByte({whole.Data(), length}, copied);
    Require(outSize == 0 || (length < outSize ? copied == length : cutAtEnd || leftOut), "value cut where not needed");

    const std::string written = (control == 0xFF ? ";" + std::string(ProfileReader::kMaxFileBytes - rest.size() / 2, '-')
                                                 : std::string()) + file;
    FuzzRoot::WriteProgramFile(EnvironmentCheck::kFileName, written);
    const std::string_view seen = std::string_view(written).substr(0, ProfileReader::kMaxFileBytes);
    Guarded viaFile(outSize + 1), fromBytes(outSize + 1);
    Require(ProfileReader::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue, viaFile.Data(),
                                                    outSize + 1, kDefinitionFile) == read(seen, fromBytes) &&
                viaFile.bytes == fromBytes.bytes, "the file read otherwise than its first MiB");
    // The check of the installation: no value is a broken one, level 2 this program's, another a mismatch.
    char level[16];
    ProfileReader::GetString(seen, "ProgramLevel", "UG16_G", "1", level, sizeof level);
    const int code = EnvironmentCheck::LevelCodeOf(kDefinitionFile);
    Require(code >= EnvironmentCheck::kBrokenInstallation && code <= EnvironmentCheck::kComponentTooOld &&
                (code == EnvironmentCheck::kBrokenInstallation) == (level[0] == '\0') &&
                (code == 0) == (level[0] != '\0' && LeadingNumber::Read(level) == EnvironmentCheck::kProgramLevel),
            "a level code that is not the file's");
}
