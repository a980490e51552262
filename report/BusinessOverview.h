#pragma once

// The statement the program makes, 「事業概況書」 (the business overview of
// the corporate tax return): its name is the caption of every message box
// of the run and of the run's connection to the books.
class BusinessOverview {
public:
    static constexpr const char* kCaption = "事業概況書";
};
