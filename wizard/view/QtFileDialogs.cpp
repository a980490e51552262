#include "wizard/view/QtFileDialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

#include "platform/DriveTable.h"
#include "platform/view/QtText.h"

namespace {

std::vector<std::string_view> SplitAtBars(std::string_view text) {
    std::vector<std::string_view> parts;
    while (!text.empty()) {
        const std::size_t bar = text.find('|');
        if (bar == std::string_view::npos) {
            parts.push_back(text);
            break;
        }
        parts.push_back(text.substr(0, bar));
        text.remove_prefix(bar + 1);
    }
    return parts;
}

// Qt's file dialog with the flags the sheet asks the save dialog for: the
// folder of the name must exist (OFN_PATHMUSTEXIST), and a name with "*"
// or "?" filters the list instead of naming a file, as the system's save
// dialog does.
class SaveFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override {
        auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const QString typed = edit != nullptr ? edit->text().trimmed() : QString();
        if (typed.contains(QLatin1Char('*')) || typed.contains(QLatin1Char('?'))) {
            QStringList filters = nameFilters();
            filters.removeAll(typed);
            filters.prepend(typed);
            setNameFilters(filters);
            selectNameFilter(typed);
            return;
        }
        const QStringList files = selectedFiles();
        if (!files.isEmpty() && !QFileInfo(QFileInfo(files.constFirst()).absolutePath()).isDir()) {
            QMessageBox::warning(this, windowTitle(), typed + QLatin1Char('\n') + QtText::FromCp932(kNoSuchPath));
            return;
        }
        QFileDialog::accept();
    }

private:
    static constexpr const char* kNoSuchPath = "パスが存在しません。\nパスが正しいかどうかを確認してください。";
};

// A name typed without an extension gets the default one, as the system's
// save dialog gives it. Qt leaves it off when a folder of the typed name
// happens to lie in the process's own current folder.
QString WithDefaultExtension(const QString& file, const QFileDialog& dialog) {
    if (dialog.defaultSuffix().isEmpty() || QFileInfo(file).fileName().contains(QLatin1Char('.'))) return file;
    return file + QLatin1Char('.') + dialog.defaultSuffix();
}

}  // namespace

QStringList QtFileDialogs::NameFilters(std::string_view windowsFilter) {
    QStringList filters;
    const std::vector<std::string_view> parts = SplitAtBars(windowsFilter);
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty()) break;
        const QString description = QtText::FromCp932(parts[i]);
        QString patterns = QtText::FromCp932(parts[i + 1]);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (description.contains(QLatin1Char('(')))
            filters << description;
        else
            filters << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return filters;
}

bool QtFileDialogs::AskSaveFile(void* owner, const SaveFileRequest& request, std::string& chosen) {
    SaveFileDialog dialog(static_cast<QWidget*>(owner), QtText::FromCp932(request.Title));
    dialog.setObjectName(QStringLiteral("SaveFileDialog"));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(NameFilters(request.Filter));
    dialog.setDefaultSuffix(QtText::FromCp932(request.DefaultExtension));
    if (!request.InitialFolder.empty()) {
        const std::optional<std::string> folder = DriveTable::ToHostPath(request.InitialFolder);
        if (folder) dialog.setDirectory(QFile::decodeName(folder->c_str()));
    }
    dialog.selectFile(QtText::FromCp932(request.InitialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;

    const QByteArray host = QFile::encodeName(WithDefaultExtension(dialog.selectedFiles().constFirst(), dialog));
    const std::optional<std::string> windowsPath = DriveTable::ToWindowsPath(host.toStdString());
    // Every host path lies on drive Z: unless the drive table was changed
    // so that none holds it; such a file cannot be named to the caller.
    if (!windowsPath) return false;
    chosen = *windowsPath;
    return true;
}
