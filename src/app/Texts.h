#pragma once

#include <QString>

// Every text the program shows, by interface language: 'p' Portuguese, 'e' Spanish,
// 'i' English. A text that exists in Portuguese only is either repeated in every column
// (shown in every language) or absent from the Spanish and English columns (shown only
// in Portuguese).
enum class Txt {
    // Main window captions, set at start-up in every language.
    Arquivo1,
    Abrir1,
    Salvarcomo1,
    Imprimir1,
    mnSair,
    Grafico1,
    mnSobre,
    Label5,
    Label1,
    Label2,
    Label3,
    Label4,
    Label6,
    Label7,
    Label8,
    Label9,
    Label10,
    GroupBox1,
    Button2,
    GroupBox2,
    Button3,
    Registros,
    CheckBox1,
    Button6,
    Button4,
    Button5,
    Label11,
    Label12,
    Label15,
    Label16,
    Button7,
    GroupBox3,
    // The same in every language.
    WindowCaption,
    ApplicationTitle,

    // Record grid header row.
    HeaderRecord,
    HeaderDate,
    HeaderTime,
    HeaderValue,

    // Settings file.
    SettingsFileCannotOpen,

    // USB interface.
    UsbConnected,
    UsbDisconnected,
    UsbDisconnectedAfterReset,
    UsbButtonWhileOpen,
    UsbButtonWhileClosed,
    UsbOpenFailed,
    InterfaceLost,
    SendFailed,
    RemoteButtonConnect,
    RemoteButtonDisconnect,

    // Bluetooth link and logger commands (status bar and messages).
    BtConnected,
    BtConnecting,
    BtConnectionError,
    BtConnectionFailed,
    BtDisconnected,
    Accessing,
    AccessFinished,
    AccessConfirmed,
    LinkLost,
    ConfigurationReceived,
    AccessTimedOut,
    ConfigurationTimedOut,
    AddressTooLong,
    NoAddress,
    LoadingConfiguration,
    RecordingSwitchSent,
    ClearingRecords,
    Done,
    ClearTitle,
    ClearQuestion,
    Transferring,
    RecordsIncomplete,
    LoggerNoAnswer,
    ModuleNoAnswer,
    CommandTimedOut,

    // Record set: quantity names, value column headers, records that cannot be converted.
    TypePressure,
    TypeTemperature,
    TypeHumidity,
    ValueHeaderMbar,
    ValueHeaderBar,
    ValueHeaderKpa,
    ValueHeaderKgfCm2,
    ValueHeaderPsi,
    ValueHeaderMmHg,
    ValueHeaderInHg,
    ValueHeaderMmH2o,
    ValueHeaderMH2o,
    ValueHeaderNewton,
    ValueHeaderFahrenheit,
    ValueHeaderCelsius,
    ValueHeaderHumidity,
    RecordDateInvalid,
    RecordTimeInvalid,

    // Device list window and its confirmation window: Portuguese in every language.
    DeviceListTitle,
    DeviceListLabel1,
    DeviceListLabel2,
    DeviceListLabel3,
    DeviceListLabel4,
    DeviceListInserir,
    DeviceListApagar,
    DeviceListEditar,
    DeviceListGravar,
    DeviceListFechar,
    DeviceCodeEmpty,
    DeviceCodeInvalid,
    DeviceListFull,
    DeviceListCannotOpen,
    DeviceListCannotCreate,
    DeviceListWriteError,
    ConfirmationTitle,
    ConfirmationQuestion,
    ConfirmationSim,
    ConfirmationNao,

    // Reports and About box.
    ExportPdf,
    PdfFilter,
    PdfCannotWrite,
    AboutCaption,
    AboutVersion,
    AboutOk,

    // Configuration dialog and sending the configuration.
    ConfigCaption,
    ConfigLabel3,
    ConfigLabel4,
    ConfigLabel1,
    ConfigLabel2,
    ConfigLabel5,
    ConfigLabel8,
    ConfigGroupBox1,
    ConfigRadioButton2,
    ConfigRadioButton3,
    ConfigButton1,
    ConfigButton2,
    ConfigRecordsOutOfRange,
    ConfigMeasurementsOutOfRange,
    ConfigSent,
    ConfigIntervalInvalid,
    ConfigIntervalZero,

    // Chart window and its drawing.
    ChartCaption,
    ChartButton1,
    ChartPrint1,
    ChartLabel1,
    ChartLabel2,
    ChartLabel3,
    ChartLabel4,
    ChartConfirmar,
    ChartFechar,
    ChartAxisTime,
    ChartAxisDate,
    ChartAxisRecord,
    ChartLowest,
    ChartRecordNumber,
    ChartHighest,
    ChartRecordDamaged,
    ChartNoRecords,
    ChartPictureCannotWrite,

    // Data files and CSV export.
    ExportarCsv1,
    CsvFilter,
    TitleEmpty,
    FileCannotBeSaved,
    FileWriteError,
    FileCannotBeOpened,
    DataFilePartlyRead,
    DataFileTooShort,
    DataFileNotANumber,
    FieldNotStorable,
    FieldTitle,
    FieldObjective,
    FieldResponsible,
    DataFileForeign,
    LoggerHoldsNoRecords,

    // Unsaved records: the question before they are cleared and its three buttons.
    UnsavedTitle,
    UnsavedQuestion,
    UnsavedSave,
    UnsavedDiscard,
    UnsavedCancel,

    ChartStartNotListed,

    // Analysis.
    Estatisticas1,
    Analise1,
    LimitLowerNotANumber,
    LimitUpperNotANumber,
    LimitLowerAboveUpper,
    LimitsCannotSave,
    StatsRecordDamaged,
    StatsLower,
    StatsUpper,
    StatsApply,
    StatsCopy,
    StatsClose,
    StatsAll,
    StatsMeasurement,
    StatsRecords,
    StatsFirst,
    StatsLast,
    StatsSpan,
    StatsInterval,
    StatsMin,
    StatsMinRecord,
    StatsMinTime,
    StatsMax,
    StatsMaxRecord,
    StatsMaxTime,
    StatsMean,
    StatsSd,
    StatsMkt,
    StatsBelow,
    StatsAbove,
    StatsOutsideRecords,
    StatsExcursions,
    StatsDuration,
    StatsFirstTime,
    AnalysisReset,
    AnalysisExportPng,
    AnalysisExportSvg,
    AnalysisRecord,
    AnalysisTime,
    AnalysisMeasurement,
    AnalysisHint,

    Count
};

namespace Texts {

// The text of id for the language; empty when the text is not shown in that language.
// An unknown language code reads as Portuguese.
QString text(Txt id, char language);

// Whether the text is shown at all in the language.
bool shownIn(Txt id, char language);

// The design text of a main-window caption, shown until the texts of the language are set.
QString design(Txt id);

bool isLanguage(char code);

} // namespace Texts
