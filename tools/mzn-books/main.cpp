// mzn-books: keeps the books of the stand-in accounting installation. See
// BooksCommandLine::Usage() and docs/books-formats.md.

#include <iostream>
#include <string>
#include <vector>

#include "tools/mzn-books/BooksTool.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    BooksTool tool(std::cout, std::cerr);
    return tool.Run(arguments);
}
