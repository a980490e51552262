#pragma once

// The program's string table, by resource number. Texts are code page 932.
// The program's other resources (the wizard's forms and the strings they
// show) are to be kept together with this table; the report reads only
// number 1.
class StringResources {
public:
    // Version of the link between the accounting books and the tax-form
    // application, reported as CONNECTEDPROGRAMVER.
    static constexpr int kConnectedProgramVersion = 1;

    // The text of the string resource, or "" for a number the table lacks.
    static const char* Get(int id);
};
