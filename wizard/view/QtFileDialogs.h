#pragma once

#include <QStringList>

#include <string_view>

#include "wizard/FileDialogs.h"

// The save-file dialog of the GUI: a Qt file dialog (Qt's own, not the
// desktop's, so that it behaves the same everywhere and under test) on the
// host folder of the requested Windows folder. The file the user picks is a
// host path; it is answered as the Windows path the drive table gives it.
// The object name of the dialog is "SaveFileDialog".
class QtFileDialogs : public FileDialogs {
public:
    bool AskSaveFile(void* owner, const SaveFileRequest& request, std::string& chosen) override;

    // Qt's name filters for a Windows filter text: "Xml Files (*.xml)|*.xml||"
    // gives "Xml Files (*.xml)"; a description without its patterns in
    // brackets gets them appended ("Xml|*.xml;*.XML||" gives
    // "Xml (*.xml *.XML)").
    static QStringList NameFilters(std::string_view windowsFilter);
};
