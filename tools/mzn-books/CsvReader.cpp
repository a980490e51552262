#include "tools/mzn-books/CsvReader.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

CsvReader::CsvReader(std::string_view text) : text_(text) {
    if (text_.substr(0, kUtf8Bom.size()) == kUtf8Bom) pos_ = kUtf8Bom.size();
}

bool CsvReader::AtLineBreak() const {
    return pos_ < text_.size() && (text_[pos_] == '\n' || text_[pos_] == '\r');
}

void CsvReader::SkipLineBreak() {
    if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
    ++line_;
}

CsvReader::Status CsvReader::Next(Record& record) {
    record.fields.clear();
    if (finished_) return Status::End;
    while (AtLineBreak()) SkipLineBreak();
    if (pos_ >= text_.size()) {
        finished_ = true;
        return Status::End;
    }
    record.line = line_;
    for (;;) {
        std::string field;
        const bool ok = pos_ < text_.size() && text_[pos_] == '"' ? ReadQuoted(field) : ReadPlain(field);
        if (!ok) return Status::Error;
        record.fields.push_back(std::move(field));
        if (pos_ >= text_.size()) return Status::Record;
        if (text_[pos_] == ',') {
            ++pos_;
            continue;
        }
        SkipLineBreak();  // ReadQuoted and ReadPlain stop only at a comma or a line break
        return Status::Record;
    }
}

bool CsvReader::ReadQuoted(std::string& field) {
    const std::size_t startLine = line_;
    ++pos_;  // the opening quote
    for (;;) {
        if (pos_ >= text_.size()) {
            Fail(startLine, "the quoted field that starts on line " + std::to_string(startLine) + " is not closed");
            return false;
        }
        const char c = text_[pos_];
        if (c == '"') {
            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                field += '"';
                pos_ += 2;
                continue;
            }
            ++pos_;  // the closing quote
            break;
        }
        if (c == '\n' || c == '\r') {
            // A line break inside quotes belongs to the field, as written.
            const std::size_t from = pos_;
            SkipLineBreak();
            field.append(text_.substr(from, pos_ - from));
            continue;
        }
        field += c;
        ++pos_;
    }
    if (pos_ < text_.size() && text_[pos_] != ',' && !AtLineBreak()) {
        Fail(line_, "text follows the closing quote of a field");
        return false;
    }
    return true;
}

bool CsvReader::ReadPlain(std::string& field) {
    const std::size_t from = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && !AtLineBreak()) {
        if (text_[pos_] == '"') {
            Fail(line_, "a quote inside a field that does not start with one");
            return false;
        }
        ++pos_;
    }
    field.assign(text_.substr(from, pos_ - from));
    return true;
}

CsvReader::Status CsvReader::Fail(std::size_t line, std::string reason) {
    finished_ = true;
    errorLine_ = line;
    errorReason_ = std::move(reason);
    return Status::Error;
}
