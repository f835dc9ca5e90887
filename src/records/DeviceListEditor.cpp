#include "DeviceListEditor.h"

#include "app/MainSession.h"
#include "app/Prompt.h"

#include <QDir>

#include <algorithm>

DeviceListEditor::DeviceListEditor(MainSession& session, QString path)
    : session_(session), path_(std::move(path)) {}

void DeviceListEditor::FormShow() {
    mode_ = Mode::Browse;
    code_.clear();
    open_ = true;

    const DeviceListFile::ReadResult file = DeviceListFile::read(path_);
    entries_ = file.entries;
    if (file.cannotOpen)
        session_.prompt().message(session_.text(Txt::DeviceListCannotOpen) +
                                  QDir::toNativeSeparators(path_) + QStringLiteral(": ") +
                                  file.reason);

    if (entries_.isEmpty()) {
        // The address already chosen stays; only the number says that none is listed.
        selected_ = -1;
        number_ = QStringLiteral("0");
        session_.DeviceNumberSet(number_);
    } else {
        selected_ = 0;
        number_ = QStringLiteral("1");
        session_.DeviceChosen(number_, entries_.constFirst());
    }

    dirty_ = false;
    session_.DeviceListShown();
}

void DeviceListEditor::ListBox1Click(int index) {
    if (index < 0 || index >= entries_.size())
        return;
    selected_ = index;
    number_ = QString::number(index + 1);
    session_.DeviceChosen(number_, entries_.at(index));
}

void DeviceListEditor::Edit1Change(const QString& text) {
    code_ = text.toUpper();
}

void DeviceListEditor::Button6_EditarClick() {
    if (!Button6_EditarEnabled())
        return;
    // The last entry is marked so that "Inserir" appends by default; it is not chosen.
    selected_ = int(entries_.size()) - 1;
    mode_ = Mode::Edit;
    session_.DeviceNumberSet(QString());
}

void DeviceListEditor::Button3_InserirClick(const QString& code) {
    if (!Button3_InserirEnabled())
        return;
    Edit1Change(code);
    const QString entry = code_.trimmed();
    if (entry.isEmpty()) {
        session_.prompt().message(session_.text(Txt::DeviceCodeEmpty));
        return;
    }
    if (!isValidCode(entry)) {
        session_.prompt().message(session_.text(Txt::DeviceCodeInvalid));
        return;
    }
    // Entries beyond what the file gives back would be lost on the next reading.
    if (entries_.size() >= DeviceListFile::kMaxEntries) {
        session_.prompt().message(
            session_.text(Txt::DeviceListFull).arg(DeviceListFile::kMaxEntries));
        return;
    }
    entries_.insert(selected_ + 1, entry);
    code_.clear();
    changedList();
    selected_ = int(entries_.size()) - 1;
}

void DeviceListEditor::Button4_ApagarClick() {
    if (!Button4_ApagarEnabled() || selected_ < 0 || selected_ >= entries_.size())
        return;
    entries_.removeAt(selected_);
    selected_ = -1;
    changedList();
}

void DeviceListEditor::Button5_GravarClick() {
    if (!Button5_GravarEnabled())
        return;
    const AtomicFile::Result written = DeviceListFile::write(entries_, path_);
    if (written.ok()) {
        mode_ = Mode::Browse;
        dirty_ = false;
        return;
    }
    const Txt message = written.status == AtomicFile::Result::CannotOpen
                            ? Txt::DeviceListCannotCreate
                            : Txt::DeviceListWriteError;
    session_.prompt().message(session_.text(message) + AtomicFile::describe(path_, written));
}

bool DeviceListEditor::Button2_FecharClick() {
    if (dirty_)
        return true;
    session_.DeviceListClosed();
    close();
    return false;
}

void DeviceListEditor::ConfirmationSim() {
    close();
}

bool DeviceListEditor::isValidCode(const QString& code) {
    if (code.size() != DeviceListFile::kEntryLength)
        return false;
    return std::all_of(code.cbegin(), code.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
    });
}

void DeviceListEditor::changedList() {
    mode_ = Mode::EditChanged;
    dirty_ = true;
}

void DeviceListEditor::close() {
    // The next showing reads the file again.
    open_ = false;
    entries_.clear();
    selected_ = -1;
    mode_ = Mode::Browse;
    dirty_ = false;
    code_.clear();
}
