#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// A message made from one template with numbered placeholders, "%1" to
// "%9", so that a translation can put the values where its language wants
// them. "%%" is a percent sign.
class MessageTemplate {
public:
    static std::string Fill(std::string_view pattern, std::initializer_list<std::string> values);
};
