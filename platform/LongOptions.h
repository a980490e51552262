#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// Scans long options off a command line, one at a time, for a parser that
// knows which options exist and what their values mean:
//
//   --name          an option: a flag, or one that takes the next word as its
//                   value, whatever that word is ("--output --" gives "--")
//   --name=value    an option with its value (which may be empty)
//   --              ends the options
//   anything else   an operand: it ends the options, or, with
//                   Operands::Interleaved, stands among them
//
// A refused option is one item, and the scan goes on behind its word, so that
// a parser can still find where the options end.
class LongOptions {
public:
    struct Option {
        std::string_view name;  // with its dashes: "--output"
        bool takesValue;
    };

    // Whether an operand ends the options (the rest of the line is someone
    // else's) or stands among them (every operand, also behind "--", comes
    // as an item).
    enum class Operands { EndOptions, Interleaved };

    enum class Kind {
        End,            // nothing more to scan; Position() is where the rest begins
        Option,         // a known option, with its value if it takes one
        Operand,        // Operands::Interleaved only
        Unknown,        // the refusals, name being the option's
        MissingValue,   // at the end of the words
        UnwantedValue,  // a flag given "=value"
    };

    struct Item {
        Kind kind = Kind::End;
        std::string word;   // as given; for an option, the word that names it
        std::string name;   // the option's word up to its first "="
        std::string value;  // behind "=", or the next word
        // The reason of a refusal in one line ("unknown option --x"); empty otherwise.
        std::string Problem() const;
    };

    // prefix: what an option's word starts with; the prefix alone is an operand.
    LongOptions(std::span<const std::string> words, std::span<const Option> options,
                Operands operands = Operands::EndOptions, std::string_view prefix = "--");

    Item Next();
    // Index in words of the first word not scanned yet.
    std::size_t Position() const { return position_; }

private:
    Item ScanOption(const std::string& word);
    const Option* Find(std::string_view name) const;
    bool IsOptionWord(const std::string& word) const;

    std::span<const std::string> words_;
    std::span<const Option> options_;
    Operands operands_;
    std::string_view prefix_;
    std::size_t position_ = 0;
    bool optionsEnded_ = false;  // by "--"
};
