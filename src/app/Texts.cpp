#include "Texts.h"

#include <array>
#include <utility>

namespace {

struct Row {
    Txt id;
    const char* p;
    const char* e; // nullptr: shown in Portuguese only
    const char* i;
};

// The one table of texts. UTF-8; the blanks are part of the texts.
constexpr Row kRows[] = {
    {Txt::Arquivo1, "Arquivo", "Archivo", "File"},
    {Txt::Abrir1, "Abrir...", "Abrir...", "Open..."},
    {Txt::Salvarcomo1, "Salvar como...", "Guardar como...", "Save as..."},
    {Txt::Imprimir1, "Imprimir", "Imprimir", "Print"},
    {Txt::mnSair, "Sair", "Salir", "Exit"},
    {Txt::Grafico1, "Gráfico", "Gráfico", "Graphic"},
    {Txt::mnSobre, "Sobre", "Sobre", "About"},
    {Txt::Label5, "Dados do Relatório", "Datos del Informe", "Report Data"},
    {Txt::Label1, "Título:", "Título:", "Title:"},
    {Txt::Label2, "Objetivo:", "Objetivo:", "Objective:"},
    {Txt::Label3, "Responsavel:", "Responsable:", "Responsible:"},
    {Txt::Label4, "Data:", "Fecha:", "Date:"},
    {Txt::Label6, "Dados do Instrumento", "Datos del Instrumento", "Instrument Data"},
    {Txt::Label7, "Dispositivo Remoto", "Dispositivo Remoto", "Remote Device"},
    {Txt::Label8, "Número do Instrumento:", "Número del Instrumento:", "Instrument Number:"},
    {Txt::Label9, "Tipo de Grandeza:", "Tipo de Magnitud:", "Quantity Type:"},
    {Txt::Label10, "Unidade:", "Unidad:", "Unit:"},
    {Txt::GroupBox1, "Interface", "Interfaz", "Interface"},
    {Txt::Button2, "Conectar", "Conectar", "Connect"},
    {Txt::GroupBox2, "Dispositivo", "Dispositivo", "Device"},
    {Txt::Button3, "Conectar", "Conectar", "Connect"},
    {Txt::Registros, "Registros", "Registros", "Records"},
    {Txt::CheckBox1, "Ativar registrar", "Activar registro", "Enable recording"},
    {Txt::Button6, "Carregar", "Descargar", "Download"},
    {Txt::Button4, "Configurar", "Configurar", "Configure"},
    {Txt::Button5, "Limpar", "Borrar", "Clear"},
    {Txt::Label11, "N° de Registros:", "N° de Registros:", "N° of Records:"},
    {Txt::Label12, "N° de Medições:", "N° de Mediciones:", "N° of Measurements:"},
    {Txt::Label15, "N°:", "N°:", "N°:"},
    {Txt::Label16, "MAC:", "MAC:", "MAC:"},
    {Txt::Button7, "Selecionar", "Seleccionar", "Select"},
    {Txt::GroupBox3, "Interface", "Interfaz", "Interface"},
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
    {Txt::InterfaceLost, "A interface USB foi perdida.", "Se perdió la interfaz USB.",
     "The USB interface was lost."},
    {Txt::SendFailed, "Erro ao tentar enviar dados.", "Error al intentar enviar datos.",
     "Error when trying to send data."},
    {Txt::RemoteButtonConnect, "Conectar", "Conectar", "Connect"},
    {Txt::RemoteButtonDisconnect, "Desconectar", "Desconectar", "Disconnect"},

    {Txt::BtConnected,
     "BT Conectado. Dispositivo: ", "BT Conectado. Dispositivo: ", "BT Conectado. Dispositivo: "},
    {Txt::BtConnecting, "BT Conectando...", "BT Conectando...", "BT Conectando..."},
    {Txt::BtConnectionError, "Erro de Conexão BT", "Erro de Conexão BT", "Erro de Conexão BT"},
    {Txt::BtConnectionFailed, "Conexão BT falhou", "Conexão BT falhou", "Conexão BT falhou"},
    {Txt::BtDisconnected, "BT Desconectado. Dispositivo: ", "BT Desconectado. Dispositivo: ",
     "BT Desconectado. Dispositivo: "},
    {Txt::Accessing, "Acessando...", "Acessando...", "Acessando..."},
    {Txt::AccessFinished, "Acesso finalizado", "Acesso finalizado", "Acesso finalizado"},
    {Txt::AccessConfirmed, "Acesso confirmado", "Acesso confirmado", "Acesso confirmado"},
    {Txt::LinkLost, "Desconetado", "Desconetado", "Desconetado"},
    {Txt::ConfigurationReceived, "Concluido", "Terminado", "Finished"},
    {Txt::AccessTimedOut, "Verifique se o registrador está habilitado e tente novamente", nullptr,
     nullptr},
    {Txt::ConfigurationTimedOut,
     "Feche o programa, desconecte e reconecte a interface,reinicie o programa e tente novamente",
     nullptr, nullptr},
    {Txt::AddressTooLong,
     "O endereço do dispositivo tem mais de 13 caracteres e não pode ser enviado.",
     "La dirección del dispositivo tiene más de 13 caracteres y no se puede enviar.",
     "The device address is longer than 13 characters and cannot be sent."},
    {Txt::NoAddress, "Selecione um dispositivo antes de conectar.",
     "Seleccione un dispositivo antes de conectar.", "Select a device before connecting."},
    {Txt::LoadingConfiguration, "Carregando configurações, aguarde.", "Cargando, espera",
     "loading, wait"},
    {Txt::RecordingSwitchSent, "Ativando/Desativando leitura de registros",
     "Activación de registros de lectura", "Activating reading records"},
    {Txt::ClearingRecords, "Limpando registros", "Terminado", "Finished"},
    {Txt::Done, "Concluido", "Concluido", "Concluido"},
    {Txt::ClearTitle, "Limpar registros", "Borrar registros", "Clear records"},
    {Txt::ClearQuestion, "Deseja realmente continuar?", "¿Desea realmente continuar?",
     "Do you really want to continue?"},
    {Txt::Transferring, "Aguarde. Tranferindo...", "Aguarde. Tranferindo...",
     "Aguarde. Tranferindo..."},
    {Txt::RecordsIncomplete,
     "A resposta do registrador chegou incompleta: só os registros recebidos foram carregados.",
     "La respuesta del registrador llegó incompleta: solo se cargaron los registros recibidos.",
     "The logger's reply was incomplete: only the records received were loaded."},
    {Txt::LoggerNoAnswer, "O registrador não respondeu.", "El registrador no respondió.",
     "The logger did not answer."},
    {Txt::ModuleNoAnswer, "O módulo Bluetooth não respondeu.", "El módulo Bluetooth no respondió.",
     "The Bluetooth module did not answer."},
    {Txt::CommandTimedOut, "Tempo esgotado.", "Tiempo agotado.", "Timed out."},

    // Record set: quantity names, value column headers, records that cannot be converted.
    {Txt::TypePressure, "PRESSÃO", "PRESIÓN", "PRESSURE"},
    {Txt::TypeTemperature, "TEMPERATURA", "TEMPERATURA", "TEMPERATURE"},
    {Txt::TypeHumidity, "UMIDADE    ", "HUMEDAD    ", "HUMIDITY   "},
    {Txt::ValueHeaderMbar, " VALOR (mBAR)   ", " VALOR (mBAR)   ", " VALUE (mBAR)   "},
    {Txt::ValueHeaderBar, " VALOR (BAR)    ", " VALOR (BAR)    ", " VALUE (BAR)    "},
    {Txt::ValueHeaderKpa, " VALOR (KPA)    ", " VALOR (KPA)    ", " VALUE (KPA)    "},
    {Txt::ValueHeaderKgfCm2, " VALOR (KGF/cm²)", " VALOR (KGF/cm²)", " VALUE (KGF/cm²)"},
    {Txt::ValueHeaderPsi, " VALOR (PSI)    ", " VALOR (PSI)    ", " VALUE (PSI)    "},
    {Txt::ValueHeaderMmHg, " VALOR (mmHG)   ", " VALOR (mmHG)   ", " VALUE (mmHG)   "},
    {Txt::ValueHeaderInHg, " VALOR (inHG)   ", " VALOR (inHG)   ", " VALUE (inHG)   "},
    {Txt::ValueHeaderMmH2o, " VALOR (mmH2O)  ", " VALOR (mmH2O)  ", " VALUE (mmH2O)  "},
    {Txt::ValueHeaderMH2o, " VALOR (MH2O)   ", " VALOR (MH2O)   ", " VALUE (MH2O)   "},
    {Txt::ValueHeaderNewton, " VALOR ( N )    ", " VALOR ( N )    ", " VALUE ( N )    "},
    {Txt::ValueHeaderFahrenheit, " VALOR (ºF)     ", " VALOR (ºF)     ", " VALUE (ºF)     "},
    {Txt::ValueHeaderCelsius, " VALOR (ºC)     ", " VALOR (ºC)     ", " VALUE (ºC)     "},
    {Txt::ValueHeaderHumidity, " VALOR (%)      ", " VALOR (%)      ", " VALUE (%)      "},
    // %1 record number, %2 day, %3 month.
    {Txt::RecordDateInvalid,
     "Registro %1: dia %2 do mês %3 não é uma data válida. Os registros seguintes não foram "
     "carregados.",
     "Registro %1: el día %2 del mes %3 no es una fecha válida. Los registros siguientes no se "
     "cargaron.",
     "Record %1: day %2 of month %3 is not a valid date. The records after it were not loaded."},
    // %1 record number, %2 hours, %3 minutes, %4 seconds.
    {Txt::RecordTimeInvalid,
     "Registro %1: %2:%3:%4 não é uma hora válida. Os registros seguintes não foram carregados.",
     "Registro %1: %2:%3:%4 no es una hora válida. Los registros siguientes no se cargaron.",
     "Record %1: %2:%3:%4 is not a valid time. The records after it were not loaded."},

    // Device list window and its confirmation window: Portuguese in every language.
    {Txt::DeviceListTitle, "Lista de dispositivos", "Lista de dispositivos",
     "Lista de dispositivos"},
    {Txt::DeviceListLabel1,
     "Lista de Dispositivos:", "Lista de Dispositivos:", "Lista de Dispositivos:"},
    {Txt::DeviceListLabel2, "Código:", "Código:", "Código:"},
    {Txt::DeviceListLabel3, "Número:", "Número:", "Número:"},
    {Txt::DeviceListLabel4, "Quantidade:", "Quantidade:", "Quantidade:"},
    {Txt::DeviceListInserir, "Inserir", "Inserir", "Inserir"},
    {Txt::DeviceListApagar, "Apagar", "Apagar", "Apagar"},
    {Txt::DeviceListEditar, "Editar", "Editar", "Editar"},
    {Txt::DeviceListGravar, "Gravar", "Gravar", "Gravar"},
    {Txt::DeviceListFechar, "Fechar", "Fechar", "Fechar"},
    {Txt::DeviceCodeEmpty, "Entre com um código!", "Entre com um código!", "Entre com um código!"},
    {Txt::DeviceCodeInvalid, "O código deve ter 12 caracteres hexadecimais (0 a 9, A a F).",
     "O código deve ter 12 caracteres hexadecimais (0 a 9, A a F).",
     "O código deve ter 12 caracteres hexadecimais (0 a 9, A a F)."},
    // %1 the largest number of entries the file holds.
    {Txt::DeviceListFull, "A lista está cheia: cabem no máximo %1 dispositivos.",
     "A lista está cheia: cabem no máximo %1 dispositivos.",
     "A lista está cheia: cabem no máximo %1 dispositivos."},
    {Txt::DeviceListCannotOpen, "O arquivo não pode ser aberto.\n",
     "O arquivo não pode ser aberto.\n", "O arquivo não pode ser aberto.\n"},
    {Txt::DeviceListCannotCreate, "The lst file can't be opened.\n",
     "The lst file can't be opened.\n", "The lst file can't be opened.\n"},
    {Txt::DeviceListWriteError, "Erro de escrita no arquivo.\n", "Erro de escrita no arquivo.\n",
     "Erro de escrita no arquivo.\n"},
    {Txt::ConfirmationTitle, "ATENÇÃO!", "ATENÇÃO!", "ATENÇÃO!"},
    {Txt::ConfirmationQuestion, "Deseja sair sem gravar as alterações?",
     "Deseja sair sem gravar as alterações?", "Deseja sair sem gravar as alterações?"},
    {Txt::ConfirmationSim, "Sim", "Sim", "Sim"},
    {Txt::ConfirmationNao, "Não", "Não", "Não"},

    // Reports and About box.
    {Txt::ExportPdf, "Exportar PDF...", "Exportar PDF...", "Export PDF..."},
    {Txt::PdfFilter, "Documento PDF (*.pdf)", "Documento PDF (*.pdf)", "PDF document (*.pdf)"},
    {Txt::PdfCannotWrite, "O arquivo PDF não pode ser gravado: ",
     "No se puede grabar el archivo PDF: ", "The PDF file cannot be written: "},
    {Txt::AboutCaption, "Sobre Registrador", "Sobre Registrador", "About Datalogger"},
    {Txt::AboutVersion, " Versão: beta", " Versión: 1.3", " Version: 1.3"},
    {Txt::AboutOk, "OK", "OK", "OK"},

    // Configuration dialog and sending the configuration.
    {Txt::ConfigCaption, "Configuração", "Configuración", "Configuration"},
    {Txt::ConfigLabel3, "Hora:", "Horas:", "Time:"},
    {Txt::ConfigLabel4, "Data:", "Fecha:", "Date:"},
    {Txt::ConfigLabel1, "Intervalo de registro:", "Intervalo de grabación:", "Sample Rate(Sec):"},
    {Txt::ConfigLabel2, " H   M   S", " H   M   S", " H   M   S"},
    {Txt::ConfigLabel5, "Número de registros:", "Número de registros:", "Number of records:"},
    {Txt::ConfigLabel8, "Número de medições:", "Número de medições:", "Número de medições:"},
    {Txt::ConfigGroupBox1, " Registrador ", " Registrador ", " Recorder "},
    {Txt::ConfigRadioButton2, " Fixo", " Fijo", " Fixed"},
    {Txt::ConfigRadioButton3, " Continuo ", " Continuo ", " Continuous "},
    {Txt::ConfigButton1, "Enviar", "Enviar", "Send"},
    {Txt::ConfigButton2, "Fechar", "Fechar", "Fechar"},
    {Txt::ConfigRecordsOutOfRange, "Número de registro deve ser entre 2 e 3600",
     "El número de registro debe ser entre 2 y 3600",
     "The number of records must be a number between 2 and 3600 "},
    {Txt::ConfigMeasurementsOutOfRange, "Número de medições deve ser entre 1 e 50",
     "El número de registro debe ser entre 1 y 50",
     "The number of records must be a number between 1 and 50 "},
    {Txt::ConfigSent, "Arquivo enviado.", "Archivo enviado.", "file sent."},
    // %1 the interval field as it stands.
    {Txt::ConfigIntervalInvalid,
     "\"%1\" não é um intervalo de registro válido: use hh:mm:ss, com horas de 00 a 23 e "
     "minutos e segundos de 00 a 59.",
     "\"%1\" no es un intervalo de grabación válido: use hh:mm:ss, con horas de 00 a 23 y "
     "minutos y segundos de 00 a 59.",
     "\"%1\" is not a valid recording interval: use hh:mm:ss, with hours from 00 to 23 and "
     "minutes and seconds from 00 to 59."},
    {Txt::ConfigIntervalZero,
     "O intervalo de registro não pode ser 00:00:00; o menor intervalo é 00:00:01.",
     "El intervalo de grabación no puede ser 00:00:00; el menor intervalo es 00:00:01.",
     "The recording interval cannot be 00:00:00; the shortest interval is 00:00:01."},

    // Chart window and its drawing.
    {Txt::ChartCaption, "Gráfico", "Gráfico", "Graphic"},
    {Txt::ChartButton1, "Todos os registros", "Todos os registros", "All records"},
    {Txt::ChartPrint1, "Imprimir", "Imprimir", "print"},
    {Txt::ChartLabel1, "Registro inicial", "Registro inicial", "Initial record"},
    {Txt::ChartLabel2, "Último Registro", "Ultimo Registro", "Last record"},
    {Txt::ChartLabel3, "Registro final", "Registro final", "Record end"},
    {Txt::ChartLabel4, "Seleção da medição:", "Seleção da medição:", "Seleção da medição:"},
    {Txt::ChartConfirmar, "Confirmar", "Confirmar", "Confirmar"},
    {Txt::ChartFechar, "Fechar", "Fechar", "Fechar"},
    {Txt::ChartAxisTime, "Hora", "Horas", "Time"},
    {Txt::ChartAxisDate, "Data", "Fecha", "Date"},
    {Txt::ChartAxisRecord, "Registro", "Registro", "Record  "},
    {Txt::ChartLowest,
     "Menor valor registrado:", "Valor más bajo registrado:", "Lowest recorded value:"},
    {Txt::ChartRecordNumber, "Registro n°:", "Registro n°:", "Record n°:"},
    {Txt::ChartHighest,
     "Maior valor registrado:", "Valor más alto registrado:", "Highest recorded value:"},
    {Txt::ChartRecordDamaged,
     "O registro %1 não tem um valor válido (\"%2\").\nA medição não pode ser desenhada.\n",
     "El registro %1 no tiene un valor válido (\"%2\").\nLa medición no se puede dibujar.\n",
     "Record %1 has no valid value (\"%2\").\nThe measurement cannot be drawn.\n"},
    {Txt::ChartNoRecords, "A medição %1 não tem registros.", "La medición %1 no tiene registros.",
     "Measurement %1 has no records."},
    {Txt::ChartPictureCannotWrite, "O arquivo \"%1\" não pode ser gravado: %2\n",
     "El archivo \"%1\" no se puede grabar: %2\n", "The file \"%1\" cannot be written: %2\n"},

    // Data files and CSV export.
    {Txt::ExportarCsv1, "Exportar CSV...", "Exportar CSV...", "Export CSV..."},
    {Txt::CsvFilter, "Arquivo CSV (*.csv)", "Archivo CSV (*.csv)", "CSV file (*.csv)"},
    {Txt::TitleEmpty, "O Campo Título deve ser preechido.",
     "El Campo de Título debe ser completado.", "Title field must be filled."},
    {Txt::FileCannotBeSaved, "O arquivo não pode ser salvo.\n", "El archivo no se pudo abrir.\n",
     "The file can't be saved.\n"},
    {Txt::FileWriteError, "Erro de escrita no arquivo.\n", "Error al escribir en el archivo.\n",
     "Error writing to file.\n"},
    {Txt::FileCannotBeOpened, "O arquivo não pode ser aberto.\n", "El archivo no se pudo abrir.\n",
     "The file can't be opened.\n"},
    {Txt::DataFilePartlyRead, "Arquivo incompleto: %1 de %2 linhas lidas.",
     "Archivo incompleto: %1 de %2 líneas leídas.", "Incomplete file: %1 of %2 rows read."},
    {Txt::DataFileTooShort,
     "O arquivo não é um arquivo de dados: ele termina antes do fim do cabeçalho.\n",
     "El archivo no es un archivo de datos: termina antes del final del encabezado.\n",
     "The file is not a data file: it ends before the end of its header.\n"},
    // %1 the header line (1-based), %2 what it holds.
    {Txt::DataFileNotANumber,
     "O arquivo não é um arquivo de dados: a linha %1 do cabeçalho deveria conter um número "
     "inteiro e contém \"%2\".\n",
     "El archivo no es un archivo de datos: la línea %1 del encabezado debería contener un "
     "número entero y contiene \"%2\".\n",
     "The file is not a data file: header line %1 should hold a whole number but holds "
     "\"%2\".\n"},
    // %1 the field's name (FieldTitle...), %2 the characters the file cannot hold.
    {Txt::FieldNotStorable,
     "O campo %1 contém caracteres que não podem ser gravados no arquivo: %2",
     "El campo %1 contiene caracteres que no se pueden guardar en el archivo: %2",
     "The %1 field holds characters that cannot be written to the file: %2"},
    {Txt::FieldTitle, "Título", "Título", "Title"},
    {Txt::FieldObjective, "Objetivo", "Objetivo", "Objective"},
    {Txt::FieldResponsible, "Responsável", "Responsable", "Responsible"},
    {Txt::DataFileForeign, "O arquivo não é um arquivo de dados do TERVIX.\n",
     "El archivo no es un archivo de datos de TERVIX.\n", "The file is not a TERVIX data file.\n"},
    {Txt::LoggerHoldsNoRecords, "O registrador não tem registros para carregar.",
     "El registrador no tiene registros para cargar.", "The logger holds no records to download."},

    // The records of a download that are about to be cleared before they were saved.
    {Txt::UnsavedTitle, "Registros não salvos", "Registros no guardados", "Unsaved records"},
    {Txt::UnsavedQuestion,
     "Os registros carregados ainda não foram salvos. Deseja salvá-los antes de continuar?",
     "Los registros cargados aún no se han guardado. ¿Desea guardarlos antes de continuar?",
     "The downloaded records have not been saved yet. Do you want to save them before going "
     "on?"},
    {Txt::UnsavedSave, "Salvar", "Guardar", "Save"},
    {Txt::UnsavedDiscard, "Descartar", "Descartar", "Discard"},
    {Txt::UnsavedCancel, "Cancelar", "Cancelar", "Cancel"},

    // The chart window's start box refused a typed start; %1 what was typed.
    {Txt::ChartStartNotListed, "\"%1\" não está na lista: escolha um registro inicial dela.",
     "\"%1\" no está en la lista: elija un registro inicial de ella.",
     "\"%1\" is not in the list: pick a start record from it."},

    // Analysis: statistics, limits and the interactive chart.
    {Txt::Estatisticas1, "Estatísticas", "Estadísticas", "Statistics"},
    {Txt::Analise1, "Análise", "Análisis", "Analysis"},
    {Txt::LimitLowerNotANumber, "O limite inferior \"%1\" não é um número.",
     "El límite inferior \"%1\" no es un número.", "The lower limit \"%1\" is not a number."},
    {Txt::LimitUpperNotANumber, "O limite superior \"%1\" não é um número.",
     "El límite superior \"%1\" no es un número.", "The upper limit \"%1\" is not a number."},
    {Txt::LimitLowerAboveUpper, "O limite inferior está acima do limite superior.",
     "El límite inferior está por encima del límite superior.",
     "The lower limit is above the upper limit."},
    {Txt::LimitsCannotSave, "Os limites não puderam ser gravados em \"%1\".\n",
     "Los límites no se pudieron grabar en \"%1\".\n",
     "The limits could not be written to \"%1\".\n"},
    {Txt::StatsRecordDamaged,
     "O registro %1 não tem um valor válido (\"%2\") e fica fora das estatísticas.",
     "El registro %1 no tiene un valor válido (\"%2\") y queda fuera de las estadísticas.",
     "Record %1 has no valid value (\"%2\") and is left out of the statistics."},
    {Txt::StatsLower, "Limite inferior:", "Límite inferior:", "Lower limit:"},
    {Txt::StatsUpper, "Limite superior:", "Límite superior:", "Upper limit:"},
    {Txt::StatsApply, "Aplicar", "Aplicar", "Apply"},
    {Txt::StatsCopy, "Copiar", "Copiar", "Copy"},
    {Txt::StatsClose, "Fechar", "Cerrar", "Close"},
    {Txt::StatsAll, "Todas", "Todas", "All"},
    {Txt::StatsMeasurement, "Medição %1", "Medición %1", "Measurement %1"},
    {Txt::StatsRecords, "Registros", "Registros", "Records"},
    {Txt::StatsFirst, "Início", "Inicio", "First"},
    {Txt::StatsLast, "Fim", "Fin", "Last"},
    {Txt::StatsSpan, "Duração (s)", "Duración (s)", "Span (s)"},
    {Txt::StatsInterval, "Intervalo (s)", "Intervalo (s)", "Interval (s)"},
    {Txt::StatsMin, "Mínimo", "Mínimo", "Minimum"},
    {Txt::StatsMinRecord, "Registro do mínimo", "Registro del mínimo", "Record of minimum"},
    {Txt::StatsMinTime, "Data-hora do mínimo", "Fecha-hora del mínimo", "Time of minimum"},
    {Txt::StatsMax, "Máximo", "Máximo", "Maximum"},
    {Txt::StatsMaxRecord, "Registro do máximo", "Registro del máximo", "Record of maximum"},
    {Txt::StatsMaxTime, "Data-hora do máximo", "Fecha-hora del máximo", "Time of maximum"},
    {Txt::StatsMean, "Média", "Media", "Mean"},
    {Txt::StatsSd, "Desvio padrão", "Desviación estándar", "Standard deviation"},
    {Txt::StatsMkt, "Temperatura cinética média", "Temperatura cinética media",
     "Mean kinetic temperature"},
    {Txt::StatsBelow, "Abaixo: %1", "Debajo: %1", "Below: %1"},
    {Txt::StatsAbove, "Acima: %1", "Encima: %1", "Above: %1"},
    {Txt::StatsOutsideRecords, "registros", "registros", "records"},
    {Txt::StatsExcursions, "excursões", "excursiones", "excursions"},
    {Txt::StatsDuration, "tempo (s)", "tiempo (s)", "time (s)"},
    {Txt::StatsFirstTime, "início da primeira", "inicio de la primera", "first began"},
    {Txt::AnalysisReset, "Restaurar", "Restablecer", "Reset"},
    {Txt::AnalysisExportPng, "Exportar PNG...", "Exportar PNG...", "Export PNG..."},
    {Txt::AnalysisExportSvg, "Exportar SVG...", "Exportar SVG...", "Export SVG..."},
    {Txt::AnalysisRecord, "Registro", "Registro", "Record"},
    {Txt::AnalysisTime, "Data e hora", "Fecha y hora", "Date and time"},
    {Txt::AnalysisMeasurement, "M", "M", "M"},
    {Txt::AnalysisHint, "Roda: zoom   arrastar: zoom na área   botão direito: mover",
     "Rueda: zoom   arrastrar: zoom en el área   botón derecho: mover",
     "Wheel: zoom   drag: zoom to area   right button: pan"},
};

// The main window's captions as designed, before the texts of the language are applied.
// Captions not listed here are designed with their Portuguese text.
constexpr std::pair<Txt, const char*> kDesign[] = {
    {Txt::Arquivo1, "&Arquivo"},
    {Txt::Abrir1, "A&brir..."},
    {Txt::Salvarcomo1, "Sal&var como..."},
    {Txt::Imprimir1, "&Imprimir"},
    {Txt::mnSair, "&Sair"},
    {Txt::Grafico1, "&Gráfico"},
    {Txt::mnSobre, "&Sobre"},
    {Txt::Label3, "Responsável:"},
    {Txt::Label4, "Data da emissão:"},
    {Txt::Label8, "Número do equipamento:"},
    {Txt::Label9, "Tipo de grandeza:"},
    {Txt::Button2, "Conectar "},
    {Txt::Button6, "Carregar "},
    {Txt::Button4, "Configurar "},
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
    for (const auto& [designed, text] : kDesign)
        if (designed == id)
            return QString::fromUtf8(text);
    return text(id, 'p');
}

bool isLanguage(char code) {
    return code == 'p' || code == 'e' || code == 'i';
}

} // namespace Texts
