#pragma once

#include "app/MainViewState.h"

#include <QString>
#include <QStringList>

// What the chart window (TForm2) shows besides its picture. Field names are the window's
// control names; the window renders this struct and nothing else.
struct ChartViewState {
    struct Field {
        QString text;
        bool enabled = false;
    };

    QString caption;
    QString Label1, Label2, Label3, Label4;

    // One entry per measurement; -1: none selected.
    QStringList ListBox1;
    int ListBox1Index = -1;

    // The start-record box: the listed starts, the chosen one and the text shown.
    QStringList ComboBox1Items;
    int ComboBox1Index = -1;
    QString ComboBox1Text;
    bool ComboBox1Enabled = false;
    // Why a typed start was refused; empty otherwise.
    QString StartHint;

    Field Edit1; // "Registro final": last record shown
    Field Edit2; // "Último Registro": last record of the measurement

    ButtonState Button1;         // "Todos os registros"
    ButtonState Button2_Sel_Med; // "Confirmar"
    ButtonState Button2_Fechar;  // "Fechar"
    MenuItemState Print1;        // "Imprimir"
};
