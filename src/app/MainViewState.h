#pragma once

#include <QString>

#include <array>

// What the main window shows. Field names are the window's control names; the window
// renders this struct into widgets of the same object names and nothing else.
struct ButtonState {
    QString caption;
    bool enabled = true;
};

struct CheckBoxState {
    QString caption;
    bool enabled = true;
    bool checked = false;
};

struct EditState {
    QString text;
    bool readOnly = false;
};

struct MenuItemState {
    QString caption;
    bool enabled = true;
};

enum class PanelColour { Red, Lime };

struct MainViewState {
    QString caption;

    MenuItemState Arquivo1, Abrir1, Salvarcomo1, Imprimir1, mnSair, Grafico1, mnSobre;
    // "Exportar CSV..." in "Arquivo": enabled while the record table holds records.
    MenuItemState ExportarCsv1{{}, false};

    // Captions of the fixed labels and group boxes.
    QString Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label10;
    QString Label11, Label12, Label15, Label16;
    QString GroupBox1, GroupBox2, GroupBox3, Registros;

    // Instrument values: type, unit, records, measurements, equipment number.
    QString Label13, Label14, Label17, Label18, Label19;

    // Report data: issue date, title, objective, responsible (at most 50 characters).
    EditState Edit1{{}, true}, Edit3, Edit4, Edit5;
    // Device number and address, always read-only.
    EditState Edit6{{}, true}, Edit7{{}, true};

    ButtonState Button2, Button3, Button4, Button5, Button6, Button7;
    CheckBoxState CheckBox1;

    PanelColour Panel5 = PanelColour::Red;
    PanelColour Panel6 = PanelColour::Red;
    PanelColour Panel7 = PanelColour::Red;

    bool StringGrid1Enabled = false;
    int StringGrid1CurrentRow = 1;

    std::array<QString, 3> StatusBar1;
    // Share (0-100) of the records reply already waiting during a download; -1 when hidden.
    int DownloadProgress = -1;

    // The window as designed, before any language is applied.
    static MainViewState designed();
};

inline constexpr int kReportFieldMaxLength = 50;
