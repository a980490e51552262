#include "tests/xml/WellFormedXml.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

std::string XmlProblems(std::string_view document) {
    xmlResetLastError();
    xmlDocPtr doc = xmlReadMemory(document.data(), static_cast<int>(document.size()), "report.xml", "Shift_JIS",
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    std::string problems;
    if (doc == nullptr) {
        const xmlError* error = xmlGetLastError();
        problems = error != nullptr && error->message != nullptr ? error->message : "not well-formed";
        if (problems.empty()) problems = "not well-formed";
    }
    xmlFreeDoc(doc);
    return problems;
}
