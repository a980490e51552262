#pragma once

#include <string>
#include <string_view>

// Parses a document with libxml2, reading it as Shift_JIS as the tax-form
// application does. Empty when it is well-formed, otherwise the parser's
// first message.
std::string XmlProblems(std::string_view document);
