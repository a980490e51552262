#include "tools/mzn-books/DataSetDefinition.h"

#include <algorithm>

#include "platform/TextCodec.h"
#include "tools/mzn-books/CalendarDate.h"

namespace {

std::string NameProblem(const std::string& name) {
    if (name.empty()) return "the data-set name is empty";
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return "the data-set name contains a control character";
    }
    const auto cp932 = TextCodec::Utf8ToCp932(name, TextCodec::Invalid::Fail);
    if (!cp932.ok) return "the data-set name is not UTF-8 or has a character without a code page 932 form";
    if (cp932.text.size() > DataSetDefinition::kMaxNameBytes)
        return "the data-set name is " + std::to_string(cp932.text.size()) + " bytes in code page 932; at most 259 fit";
    return std::string();
}

}  // namespace

std::string DataSetDefinition::Problem() const {
    std::string problem = NameProblem(name);
    if (!problem.empty()) return problem;
    if (!CalendarDate::IsValid(start)) return "the first day " + std::to_string(start) + " is no valid day";
    if (!CalendarDate::IsValid(end)) return "the last day " + std::to_string(end) + " is no valid day";
    if (end < start)
        return "the period ends (" + std::to_string(end) + ") before it starts (" + std::to_string(start) + ")";
    // Twelve month slots hold a fiscal year: a period reaching the same day
    // a year later would need a thirteenth.
    if (end >= CalendarDate::AddYears(start, 1))
        return "the period " + std::to_string(start) + " to " + std::to_string(end) + " is longer than a year";
    if (!((introMonth >= 1 && introMonth <= 12) || introMonth == kPastResults))
        return "the introduction month must be 1 to 12, or 99 for past results, not " + std::to_string(introMonth);
    return std::string();
}

int DataSetDefinition::Months() const {
    const int first = CalendarDate::Year(start) * 12 + CalendarDate::Month(start);
    const int last = CalendarDate::Year(end) * 12 + CalendarDate::Month(end);
    return std::clamp(last - first + 1, 1, 12);
}
