#include "dialogkit/qt/QtPrompts.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "dialogkit/Types.h"
#include "dialogkit/qt/QtHandle.h"

namespace vorlane::dk {

namespace {

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace

std::vector<std::string> qtNameFilters(const std::string& filter) {
    std::vector<std::string> result;
    for (const auto& [description, patternList] : filterEntries(filter)) {
        // Qt reads the patterns from the last parentheses of the description, so the description
        // shown is rebuilt around the real patterns.
        std::string patterns = replaceAll(patternList, ";", " ");
        if (patterns == "*.*") {
            patterns = "*";
        }
        std::string label = description;
        const size_t paren = label.rfind('(');
        if (paren != std::string::npos) {
            label.erase(paren);
        }
        while (!label.empty() && label.back() == ' ') {
            label.pop_back();
        }
        result.push_back(label + " (" + patterns + ")");
    }
    return result;
}

std::optional<std::string> QtPrompts::chooseFile(const FileDialogRequest& request,
                                                 WindowHandle ownerHandle) {
    QWidget* owner = toWidget(ownerHandle);
    QFileDialog dialog(owner);
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(request.open && (request.flags & OFN_FILEMUSTEXIST) != 0
                           ? QFileDialog::ExistingFile
                           : QFileDialog::AnyFile);
    QStringList filters;
    for (const std::string& f : qtNameFilters(request.filter)) {
        filters << QString::fromStdString(f);
    }
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
    }
    if (!request.defaultExt.empty()) {
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExt));
    }
    if (!request.initialName.empty()) {
        dialog.selectFile(QString::fromStdString(request.initialName));
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite,
                     request.open || (request.flags & OFN_OVERWRITEPROMPT) == 0);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

int QtPrompts::messageBox(const MessageRequest& request, WindowHandle ownerHandle) {
    QWidget* owner = toWidget(ownerHandle);
    QMessageBox box(owner);
    box.setWindowTitle(QString::fromStdString(request.caption));
    box.setText(QString::fromStdString(request.text));
    switch (request.type & MB_ICONMASK) {
        case MB_ICONSTOP:
            box.setIcon(QMessageBox::Critical);
            break;
        case MB_ICONINFORMATION:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    switch (request.type & MB_TYPEMASK) {
        case MB_YESNO:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        default:
            return IDOK;
    }
}

Prompts& nativePrompts() {
    static QtPrompts instance;
    return instance;
}

}  // namespace vorlane::dk
