#include "MainViewState.h"

#include "Texts.h"

MainViewState MainViewState::designed() {
    using T = Txt;
    MainViewState v;
    v.caption = Texts::design(T::WindowCaption);
    v.Arquivo1.caption = Texts::design(T::Arquivo1);
    v.Abrir1.caption = Texts::design(T::Abrir1);
    v.Salvarcomo1 = {Texts::design(T::Salvarcomo1), false};
    v.Imprimir1 = {Texts::design(T::Imprimir1), false};
    v.mnSair.caption = Texts::design(T::mnSair);
    v.Grafico1.caption = Texts::design(T::Grafico1);
    v.mnSobre.caption = Texts::design(T::mnSobre);
    v.Label1 = Texts::design(T::Label1);
    v.Label2 = Texts::design(T::Label2);
    v.Label3 = Texts::design(T::Label3);
    v.Label4 = Texts::design(T::Label4);
    v.Label5 = Texts::design(T::Label5);
    v.Label6 = Texts::design(T::Label6);
    v.Label7 = Texts::design(T::Label7);
    v.Label8 = Texts::design(T::Label8);
    v.Label9 = Texts::design(T::Label9);
    v.Label10 = Texts::design(T::Label10);
    v.Label11 = Texts::design(T::Label11);
    v.Label12 = Texts::design(T::Label12);
    v.Label15 = Texts::design(T::Label15);
    v.Label16 = Texts::design(T::Label16);
    v.GroupBox1 = Texts::design(T::GroupBox1);
    v.GroupBox2 = Texts::design(T::GroupBox2);
    v.GroupBox3 = Texts::design(T::GroupBox3);
    v.Registros = Texts::design(T::Registros);
    v.Button2.caption = Texts::design(T::Button2);
    v.Button3.caption = Texts::design(T::Button3);
    v.Button4.caption = Texts::design(T::Button4);
    v.Button5.caption = Texts::design(T::Button5);
    v.Button6.caption = Texts::design(T::Button6);
    v.Button7.caption = Texts::design(T::Button7);
    v.CheckBox1.caption = Texts::design(T::CheckBox1);
    return v;
}
