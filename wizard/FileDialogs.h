#pragma once

#include <string>

// What the save-file dialog of the conditions page is opened with. Texts
// are code page 932; folders and names are Windows paths.
struct SaveFileRequest {
    std::string Title;
    // The folder the dialog opens in, with its trailing separator; empty
    // for the dialog's own choice.
    std::string InitialFolder;
    // The name in the dialog's name field; may be a wildcard ("*.xml").
    std::string InitialName;
    // Added to a typed name without extension ("XML").
    std::string DefaultExtension;
    // Pairs of description and pattern, each followed by "|", the list
    // ended by one more "|" ("Xml Files (*.xml)|*.xml||").
    std::string Filter;
};

// The one way the wizard asks for a file name: a Qt dialog in the GUI, a
// scripted answer in tests, and none in a batch run (every request
// cancelled). Passed in, never reached as a global.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Shows a modal save-file dialog over owner (a QWidget in the GUI, may
    // be null). True with the chosen file as a Windows path in code page
    // 932 when the user confirms; false, chosen untouched, when cancelled.
    // A name of a file that does not exist yet is accepted, and the dialog
    // itself never asks about overwriting: the sheet asks.
    virtual bool AskSaveFile(void* owner, const SaveFileRequest& request, std::string& chosen) = 0;
};
