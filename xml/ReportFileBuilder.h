#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "accounting_core/StDATAINFO.h"
#include "platform/MessageBoxes.h"
#include "report/ProgressSink.h"
#include "report/ReportItem.h"
#include "xml/OutputFile.h"
#include "xml/SupportInfoFile.h"
#include "xml/XmlLineWriter.h"

// Writes the result of one aggregation as the report file the tax-form
// application imports: a Shift_JIS XML document with the sections SYSTEM
// (who wrote it), BASIC (whose books and which year) and DATA (the main
// items, then the monthly sales grouped by month). Drives the progress
// window between lines, since nothing else repaints it during a run.
class ReportFileBuilder {
public:
    static constexpr std::int16_t kDefaultProgressStart = 500;
    static constexpr std::int16_t kProgressEnd = 1000;
    static constexpr std::size_t kClientNameBytes = 32;
    static constexpr std::size_t kClientNameBufferSize = 128;
    static constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";
    static constexpr const char* kDefaultProgramVersion = "20.00.0X";

    // All borrowed for the builder's life. ug30 selects the item number at
    // which the monthly items start. boxes shows the support information's
    // out-of-memory message (none when nullptr).
    ReportFileBuilder(ProgressSink& progress, const ItemList& items, bool ug30, MessageBoxes* boxes);

    // Where the report's part of the overall progress bar starts; the run
    // sets 500, the aggregation having filled 0 to 500.
    void SetProgressStart(std::int16_t start) { progressStart_ = start; }
    // How the support information block is reserved (the system's allocator
    // unless a test says otherwise).
    void SetSupportInfoAllocator(SupportInfoFile::Allocator allocate) { allocate_ = allocate; }
    // The calls that end the report file (the system's unless a test says
    // otherwise).
    void SetFileCalls(OutputFile::SystemCalls calls) { fileCalls_ = calls; }

    // Writes the whole document to the Windows path, replacing a file of
    // that name. True when every section was written. On a failure the file
    // keeps what was written, the REPORT end tag is still attempted and the
    // file is closed.
    bool WriteReport(const char* path, std::int16_t functionNo, int startMonth, const StDATAINFO& dataSet);

    bool WriteSystemSection(XmlLineWriter& writer, std::int16_t functionNo);
    bool WriteBasicSection(XmlLineWriter& writer, const StDATAINFO& dataSet);
    bool WriteDataSection(XmlLineWriter& writer, int startMonth);

    // Whole yen of an amount in ten-thousandths, truncated toward zero, in
    // decimal; empty for 0 and for more than 999,999,999,999 or less than
    // -99,999,999,999 yen, which the form has no room for.
    static std::string FormatAmount(std::int64_t tenThousandths);

    // The data set's name in full-width characters, cut to 32 bytes without
    // splitting a character. Valid until the next call.
    const char* MakeClientName(std::string_view dataSetName);

private:
    // An element of SYSTEM or BASIC, each followed by one activity pulse.
    bool WriteElementAndPulse(XmlLineWriter& writer, const char* name, const char* text, int depth);
    // Walks the list from its first item and leaves the cursor on the item
    // that ends the main items (or at the end of the list).
    bool WriteMainItems(XmlLineWriter& writer);
    bool WriteMonthlyItems(XmlLineWriter& writer, int startMonth, ItemList::const_iterator first);

    ProgressSink& progress_;
    const ItemList& items_;
    bool ug30_;
    MessageBoxes* boxes_;
    SupportInfoFile::Allocator allocate_ = &SupportInfoFile::SystemAllocate;
    OutputFile::SystemCalls fileCalls_;
    std::int16_t progressStart_ = kDefaultProgressStart;
    ItemList::const_iterator cursor_;
    XmlLineWriter::LineBuffer line_ = {};
    char clientName_[kClientNameBufferSize] = {};
};
