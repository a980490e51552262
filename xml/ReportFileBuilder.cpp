#include "xml/ReportFileBuilder.h"

#include "editions/Edition.h"
#include "platform/Cp932.h"
#include "platform/FullWidthMapper.h"
#include "report/ReportAmount.h"
#include "report/TargetVersion.h"
#include "xml/OutputFile.h"
#include "xml/StringResources.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kMonths = 12;

std::string TagOf(const ReportItem& item) {
    return std::string(item.TagName, strnlen(item.TagName, sizeof item.TagName));
}

// The item-definition files mark items this version does not report with a
// hyphen in the tag.
bool IsWritten(const std::string& tag) { return tag.find('-') == std::string::npos; }

std::string TwoDigits(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", number);
    return text;
}

}  // namespace

ReportFileBuilder::ReportFileBuilder(ProgressSink& progress, const ItemList& items, bool ug30, MessageBoxes* boxes)
    : progress_(progress), items_(items), ug30_(ug30), boxes_(boxes), cursor_(items.end()) {}

bool ReportFileBuilder::WriteReport(const char* path, std::int16_t functionNo, int startMonth,
                                    const StDATAINFO& dataSet) {
    OutputFile file(fileCalls_);
    XmlLineWriter writer;
    // A file that could not be created shows up as the first failed write.
    writer.Attach(&file, path);
    writer.WriteText(kDeclaration);
    writer.WriteStartTag(line_, "REPORT", 0);

    progress_.PulseActivity();
    bool written = WriteSystemSection(writer, functionNo);
    if (written) {
        progress_.PulseActivity();
        written = WriteBasicSection(writer, dataSet);
    }
    if (written) {
        progress_.PulseActivity();
        written = WriteDataSection(writer, startMonth);
    }
    if (written) progress_.PulseActivity();

    // A report whose last line did not reach the disk is no report: the
    // tax-form application would find it cut short.
    if (!writer.WriteEndTag(line_, "REPORT", 0)) written = false;
    if (writer.Detach() != 0) written = false;
    return written;
}

bool ReportFileBuilder::WriteSystemSection(XmlLineWriter& writer, std::int16_t functionNo) {
    if (!writer.WriteStartTag(line_, "SYSTEM", 1)) return false;
    // The same prefix for both target versions.
    if (!WriteElementAndPulse(writer, "GYOUMUPREFIX", "UG16", 2)) return false;
    if (!WriteElementAndPulse(writer, "VERSION", "1", 2)) return false;
    if (!WriteElementAndPulse(writer, "FUNCTIONID", std::to_string(functionNo).c_str(), 2)) return false;
    const char* linkVersion = StringResources::Get(StringResources::kConnectedProgramVersion);
    if (!WriteElementAndPulse(writer, "CONNECTEDPROGRAMVER", linkVersion, 2)) return false;

    // Released with the section.
    SupportInfoFile support(boxes_, allocate_);
    std::string name = support.ProductName();
    if (name.empty()) name = Edition::Current().DisplayName();
    // The file bounds neither value: a longer one is cut so that its line fits.
    std::string fittingName(XmlLineWriter::LongestFittingText("PROGRAMNAME", 2, name));
    if (!WriteElementAndPulse(writer, "PROGRAMNAME", fittingName.c_str(), 2)) return false;
    std::string version = support.ProductVersion();
    if (version.empty()) version = kDefaultProgramVersion;
    std::string fittingVersion(XmlLineWriter::LongestFittingText("PROGRAMVER", 2, version));
    if (!WriteElementAndPulse(writer, "PROGRAMVER", fittingVersion.c_str(), 2)) return false;

    if (!writer.WriteEndTag(line_, "SYSTEM", 1)) return false;
    progress_.AdvanceProgress(progressStart_, static_cast<std::int16_t>(progressStart_ + 100));
    return true;
}

bool ReportFileBuilder::WriteBasicSection(XmlLineWriter& writer, const StDATAINFO& dataSet) {
    if (!writer.WriteStartTag(line_, "BASIC", 1)) return false;
    progress_.PulseActivity();
    std::string_view name(dataSet.Name, strnlen(dataSet.Name, sizeof dataSet.Name));
    if (!WriteElementAndPulse(writer, "KOMONSAKINAME", MakeClientName(name), 2)) return false;
    if (!WriteElementAndPulse(writer, "JIGYOUNENDOFROM", std::to_string(dataSet.PeriodStart).c_str(), 2)) return false;
    if (!WriteElementAndPulse(writer, "JIGYOUNENDOTO", std::to_string(dataSet.PeriodEnd).c_str(), 2)) return false;
    if (!writer.WriteEndTag(line_, "BASIC", 1)) return false;
    progress_.AdvanceProgress(static_cast<std::int16_t>(progressStart_ + 100),
                              static_cast<std::int16_t>(progressStart_ + 200));
    return true;
}

bool ReportFileBuilder::WriteDataSection(XmlLineWriter& writer, int startMonth) {
    if (!writer.WriteStartTag(line_, "DATA", 1)) return false;
    if (!WriteMainItems(writer)) return false;
    // The monthly items follow the main items without a gap. A list whose
    // walk stopped elsewhere (a missing item, or its end) has none: only the
    // month markers are written, and nothing beyond the list is read.
    const bool monthlyFollow =
        cursor_ != items_.end() && (*cursor_)->ItemNo == TargetVersion::MonthlyItemBase(ug30_);
    if (!WriteMonthlyItems(writer, startMonth, monthlyFollow ? cursor_ : items_.end())) return false;
    if (!writer.WriteEndTag(line_, "DATA", 1)) return false;
    progress_.AdvanceProgress(static_cast<std::int16_t>(progressStart_ + 200), kProgressEnd);
    return true;
}

bool ReportFileBuilder::WriteMainItems(XmlLineWriter& writer) {
    const int base = TargetVersion::MonthlyItemBase(ug30_);
    // The group is kept balanced, so that a list lacking item 1 or the last
    // main item still gives a well-formed document.
    bool groupOpen = false;
    for (cursor_ = items_.begin(); cursor_ != items_.end(); ++cursor_) {
        const ReportItem& item = **cursor_;
        progress_.PulseActivity();
        if (item.ItemNo >= base) break;
        if (item.ItemNo == 1 && !groupOpen) {
            if (!writer.WriteStartTag(line_, "SYUYOUKAMOKU", 3)) return false;
            groupOpen = true;
        }
        const std::string tag = TagOf(item);
        if (IsWritten(tag) && !writer.WriteElement(line_, tag.c_str(), FormatAmount(item.Amounts[0]).c_str(), 4))
            return false;
        if (item.ItemNo == base - 1 && groupOpen) {
            if (!writer.WriteEndTag(line_, "SYUYOUKAMOKU", 3)) return false;
            groupOpen = false;
        }
    }
    return !groupOpen || writer.WriteEndTag(line_, "SYUYOUKAMOKU", 3);
}

bool ReportFileBuilder::WriteMonthlyItems(XmlLineWriter& writer, int startMonth, ItemList::const_iterator first) {
    if (!writer.WriteStartTag(line_, "TUKIBETUURIAGEDAKA", 3)) return false;
    for (int k = 1; k <= kMonths; ++k) {
        progress_.PulseActivity();
        int month = startMonth + k - 1;
        if (month > kMonths) month -= kMonths;
        if (!writer.WriteElement(line_, ("TUKIBETU_" + TwoDigits(k)).c_str(), std::to_string(month).c_str(), 4))
            return false;
        for (auto it = first; it != items_.end(); ++it) {
            const std::string tag = TagOf(**it);
            if (!IsWritten(tag)) continue;
            if (!writer.WriteElement(line_, (tag + TwoDigits(k)).c_str(), FormatAmount((*it)->Amounts[k]).c_str(), 4))
                return false;
        }
    }
    return writer.WriteEndTag(line_, "TUKIBETUURIAGEDAKA", 3);
}

bool ReportFileBuilder::WriteElementAndPulse(XmlLineWriter& writer, const char* name, const char* text, int depth) {
    if (!writer.WriteElement(line_, name, text, depth)) return false;
    progress_.PulseActivity();
    return true;
}

std::string ReportFileBuilder::FormatAmount(std::int64_t tenThousandths) {
    return ReportAmount::Text(tenThousandths);
}

const char* ReportFileBuilder::MakeClientName(std::string_view dataSetName) {
    clientName_[0] = '\0';
    if (dataSetName.empty()) return clientName_;
    // A full-width form takes at most two bytes for each byte of the name.
    std::vector<char> fullWidth(2 * (dataSetName.size() + 1));
    int length = FullWidthMapper::Map(dataSetName.data(), static_cast<int>(dataSetName.size()), fullWidth.data(),
                                      static_cast<int>(fullWidth.size()));
    std::string_view kept = Cp932::CutOnCharBoundary(
        std::string_view(fullWidth.data(), static_cast<std::size_t>(length > 0 ? length : 0)), kClientNameBytes);
    std::memcpy(clientName_, kept.data(), kept.size());
    clientName_[kept.size()] = '\0';
    return clientName_;
}
