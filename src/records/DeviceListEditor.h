#pragma once

#include "DeviceListFile.h"

#include <QString>
#include <QStringList>

class MainSession;

// The device list window ("Lista de dispositivos") without its widgets: the list, the mode,
// the fields and the enabled buttons, and what each button does. The window renders this
// state and forwards its clicks; the choice of an entry goes to the main window through the
// session.
class DeviceListEditor {
public:
    enum class Mode {
        Browse,      // showing the window, "Gravar"
        Edit,        // "Editar"
        EditChanged, // "Inserir" or "Apagar"
    };

    explicit DeviceListEditor(MainSession& session, QString path = DeviceListFile::defaultPath());

    // --- actions ---
    // The window is shown: reads the file and takes its first entry into the main window.
    void FormShow();
    // An entry was clicked; an index outside the list changes nothing.
    void ListBox1Click(int index);
    // The code field as typed; kept in upper case.
    void Edit1Change(const QString& text);
    void Button6_EditarClick();
    // Inserts the code after the selected entry. Only 12 hexadecimal digits are taken;
    // any other code is refused with a message and changes nothing.
    void Button3_InserirClick(const QString& code);
    void Button4_ApagarClick();
    void Button5_GravarClick();
    // True when the list has unsaved changes and the confirmation must be asked; otherwise
    // the window closes.
    bool Button2_FecharClick();
    // The confirmation's "Sim": the window closes and its changes are dropped. ("Não" only
    // closes the confirmation; the window stays as it is.)
    void ConfirmationSim();

    // --- state ---
    const QStringList& entries() const { return entries_; }
    int selected() const { return selected_; } // -1: none
    Mode mode() const { return mode_; }
    bool DeviceListDirty() const { return dirty_; }
    bool isOpen() const { return open_; }

    // What the window's controls show.
    QString Edit1() const { return code_; }                            // code
    QString Edit2() const { return number_; }                          // "Número"
    QString Edit3() const { return QString::number(entries_.size()); } // "Quantidade"
    bool Edit1Enabled() const { return mode_ != Mode::Browse; }
    bool Button6_EditarEnabled() const { return mode_ != Mode::EditChanged; }
    bool Button3_InserirEnabled() const { return mode_ != Mode::Browse; }
    bool Button4_ApagarEnabled() const { return mode_ != Mode::Browse; }
    bool Button5_GravarEnabled() const { return mode_ == Mode::EditChanged; }
    bool Button2_FecharEnabled() const { return true; }

    // Whether a code is taken as an entry: twelve hexadecimal digits, either case.
    static bool isValidCode(const QString& code);

private:
    void changedList();
    void close();

    MainSession& session_;
    QString path_;
    QStringList entries_;
    int selected_ = -1;
    Mode mode_ = Mode::Browse;
    bool dirty_ = false;
    bool open_ = false;
    QString code_;
    QString number_;
};
