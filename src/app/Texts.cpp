#include "Texts.h"

#include <array>

namespace {

struct Row {
    Txt id;
    const char* p;
    const char* e; // nullptr: shown in Portuguese only
    const char* i;
};

// The one table of texts. UTF-8; the blanks are part of the texts.
constexpr Row kRows[] = {
    {Txt::Arquivo1, "Arquivo", "&Arquivo", "&Arquivo"},
    {Txt::Abrir1, "Abrir...", "A&brir...", "A&brir..."},
    {Txt::Salvarcomo1, "Salvar como...", "Sal&var como...", "Sal&var como..."},
    {Txt::Imprimir1, "Imprimir", "&Imprimir", "&Imprimir"},
    {Txt::mnSair, "Sair", "&Sair", "&Sair"},
    {Txt::Grafico1, "Gráfico", "&Gráfico", "&Gráfico"},
    {Txt::mnSobre, "Sobre", "&Sobre", "&Sobre"},
    {Txt::Label5, "Dados do Relatório", "Dados do Relatório", "Dados do Relatório"},
    {Txt::Label1, "Título:", "Título:", "Título:"},
    {Txt::Label2, "Objetivo:", "Objetivo:", "Objetivo:"},
    {Txt::Label3, "Responsavel:", "Responsável:", "Responsável:"},
    {Txt::Label4, "Data:", "Data da emissão:", "Data da emissão:"},
    {Txt::Label6, "Dados do Instrumento", "Dados do Instrumento", "Dados do Instrumento"},
    {Txt::Label7, "Dispositivo Remoto", "Dispositivo Remoto", "Dispositivo Remoto"},
    {Txt::Label8, "Número do Instrumento:", "Número do equipamento:", "Número do equipamento:"},
    {Txt::Label9, "Tipo de Grandeza:", "Tipo de grandeza:", "Tipo de grandeza:"},
    {Txt::Label10, "Unidade:", "Unidade:", "Unidade:"},
    {Txt::GroupBox1, "Interface", "Interface", "Interface"},
    {Txt::Button2, "Conectar", "Conectar ", "Conectar "},
    {Txt::GroupBox2, "Dispositivo", "Dispositivo", "Dispositivo"},
    {Txt::Button3, "Conectar", "Conectar", "Conectar"},
    {Txt::Registros, "Registros", "Registros", "Registros"},
    {Txt::CheckBox1, "Ativar registrar", "Ativar registrar", "Ativar registrar"},
    {Txt::Button6, "Carregar", "Carregar ", "Carregar "},
    {Txt::Button4, "Configurar", "Configurar ", "Configurar "},
    {Txt::Button5, "Limpar", "Limpar", "Limpar"},
    {Txt::Label11, "N° de Registros:", "N° de Registros:", "N° de Registros:"},
    {Txt::Label12, "N° de Medições:", "N° de Medições:", "N° de Medições:"},
    {Txt::Label15, "N°:", "N°:", "N°:"},
    {Txt::Label16, "MAC:", "MAC:", "MAC:"},
    {Txt::Button7, "Selecionar", "Selecionar", "Selecionar"},
    {Txt::GroupBox3, "Interface", "Interface", "Interface"},
    {Txt::WindowCaption, "TERVIX.V1.0", "TERVIX.V1.0", "TERVIX.V1.0"},
    {Txt::ApplicationTitle, "Datalogger TERVIX", "Datalogger TERVIX", "Datalogger TERVIX"},

    {Txt::HeaderRecord, "  REG.    ", "  REG.    ", "  REC.    "},
    {Txt::HeaderDate, "   DATA   ", "   FECHA  ", "  DATE    "},
    {Txt::HeaderTime, "   HORA   ", "  HORAS  ", "   TIME   "},
    {Txt::HeaderValue, "  VALOR         ", "  VALOR         ", "  VALUE         "},

    {Txt::SettingsFileCannotOpen, "O arquivo não pode ser aberto.\n",
     "O arquivo não pode ser aberto.\n", "O arquivo não pode ser aberto.\n"},

    {Txt::UsbConnected, "Interface conectada", "Interface conectada", "Interface connected"},
    {Txt::UsbDisconnected, "Interface desconectada", "Interface desconectada",
     "Interface disconnected"},
    {Txt::UsbDisconnectedAfterReset, "Desconectado", "Desconectado", "Disconnected"},
    {Txt::UsbButtonWhileOpen, "Desconectar", "Desconectar", "Disconnect"},
    {Txt::UsbButtonWhileClosed, "Conectar", "Conectar", "Connect"},
    {Txt::UsbOpenFailed, "Erro ao abrir o dispositivo USB.", "Error para abrir el dispositivo USB.",
     "Error opening USB device."},
    {Txt::SendFailed, "Erro ao tentar enviar dados.", "Error al intentar enviar datos.",
     "Error when trying to send data."},
    {Txt::RemoteButtonConnect, "Conectar", "Conectar", "Conectar"},
    {Txt::RemoteButtonDisconnect, "Desconectar", "Desconectar", "Desconectar"},
};

constexpr std::size_t kCount = static_cast<std::size_t>(Txt::Count);

constexpr std::array<const Row*, kCount> index() {
    std::array<const Row*, kCount> out{};
    for (const Row& r : kRows)
        out[static_cast<std::size_t>(r.id)] = &r;
    return out;
}

constexpr auto kIndex = index();

constexpr bool complete() {
    for (const Row* r : kIndex)
        if (!r || !r->p)
            return false;
    return true;
}
static_assert(complete(), "every text id needs a row with a Portuguese text");

const char* column(const Row& r, char language) {
    switch (language) {
    case 'e':
        return r.e;
    case 'i':
        return r.i;
    default:
        return r.p;
    }
}

} // namespace

namespace Texts {

QString text(Txt id, char language) {
    const char* s = column(*kIndex[static_cast<std::size_t>(id)], language);
    return s ? QString::fromUtf8(s) : QString();
}

bool shownIn(Txt id, char language) {
    return column(*kIndex[static_cast<std::size_t>(id)], language) != nullptr;
}

QString design(Txt id) {
    return QString::fromUtf8(kIndex[static_cast<std::size_t>(id)]->e);
}

bool isLanguage(char code) {
    return code == 'p' || code == 'e' || code == 'i';
}

} // namespace Texts
