#include "platform/LongOptions.h"

std::string LongOptions::Item::Problem() const {
    switch (kind) {
        case Kind::Unknown:
            return "unknown option " + name;
        case Kind::MissingValue:
            return "option " + name + " needs a value";
        case Kind::UnwantedValue:
            return "option " + name + " takes no value";
        default:
            return {};
    }
}

LongOptions::LongOptions(std::span<const std::string> words, std::span<const Option> options, Operands operands,
                         std::string_view prefix)
    : words_(words), options_(options), operands_(operands), prefix_(prefix) {}

LongOptions::Item LongOptions::Next() {
    if (position_ == words_.size()) return {};
    const std::string& word = words_[position_];
    if (!optionsEnded_ && word == "--") {
        optionsEnded_ = true;
        ++position_;
        return Next();
    }
    if (optionsEnded_ || !IsOptionWord(word)) {
        // Left unscanned where it ends the options: the rest of the line begins there.
        if (operands_ == Operands::EndOptions) return {};
        ++position_;
        return {Kind::Operand, word, {}, {}};
    }
    ++position_;
    return ScanOption(word);
}

LongOptions::Item LongOptions::ScanOption(const std::string& word) {
    const std::size_t equals = word.find('=');
    Item item{Kind::Option, word, word.substr(0, equals), {}};
    const Option* option = Find(item.name);
    if (option == nullptr) {
        // The next word is left alone: without knowing the option, it cannot be told to be a value.
        item.kind = Kind::Unknown;
    } else if (equals != std::string::npos) {
        if (!option->takesValue) item.kind = Kind::UnwantedValue;
        item.value = word.substr(equals + 1);
    } else if (option->takesValue) {
        if (position_ == words_.size())
            item.kind = Kind::MissingValue;
        else
            item.value = words_[position_++];
    }
    return item;
}

const LongOptions::Option* LongOptions::Find(std::string_view name) const {
    for (const Option& option : options_)
        if (option.name == name) return &option;
    return nullptr;
}

bool LongOptions::IsOptionWord(const std::string& word) const {
    return word.size() > prefix_.size() && word.starts_with(prefix_);
}
