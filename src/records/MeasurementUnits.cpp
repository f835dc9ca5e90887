#include "MeasurementUnits.h"

#include "app/Texts.h"

#include <iterator>

namespace {

struct Unit {
    const char* text;
    Txt header;
};

// Pressure units by code, from -1 on.
constexpr int kFirstPressureCode = -1;
constexpr Unit kPressure[] = {
    {"mBAR", Txt::ValueHeaderMbar}, {"BAR", Txt::ValueHeaderBar},
    {"KPA", Txt::ValueHeaderKpa},   {"KGF/cm²", Txt::ValueHeaderKgfCm2},
    {"PSI", Txt::ValueHeaderPsi},   {"mmHG", Txt::ValueHeaderMmHg},
    {"inHG", Txt::ValueHeaderInHg}, {"mmH2O", Txt::ValueHeaderMmH2o},
    {"MH2O", Txt::ValueHeaderMH2o}, {"N", Txt::ValueHeaderNewton},
};
constexpr Unit kFahrenheit{"ºF", Txt::ValueHeaderFahrenheit};
constexpr Unit kCelsius{"ºC", Txt::ValueHeaderCelsius};
constexpr Unit kHumidity{"% ", Txt::ValueHeaderHumidity};

MeasurementUnits::UnitTexts texts(const Unit& u, char language) {
    return {QString::fromUtf8(u.text), Texts::text(u.header, language)};
}

} // namespace

namespace MeasurementUnits {

MeasurementType typeOf(int code) {
    if (code <= 1)
        return MeasurementType::Pressure;
    if (code == 2 || code == 3)
        return MeasurementType::Temperature;
    if (code == 4)
        return MeasurementType::Humidity;
    return MeasurementType::Unknown;
}

std::optional<QString> typeText(int code, char language) {
    switch (typeOf(code)) {
    case MeasurementType::Pressure:
        return Texts::text(Txt::TypePressure, language);
    case MeasurementType::Temperature:
        return Texts::text(Txt::TypeTemperature, language);
    case MeasurementType::Humidity:
        return Texts::text(Txt::TypeHumidity, language);
    case MeasurementType::Unknown:
        break;
    }
    return std::nullopt;
}

std::optional<UnitTexts> unitTexts(int typeCode, int unitCode, char language) {
    switch (typeOf(typeCode)) {
    case MeasurementType::Pressure: {
        const int i = unitCode - kFirstPressureCode;
        if (i < 0 || i >= int(std::size(kPressure)))
            return std::nullopt;
        return texts(kPressure[i], language);
    }
    case MeasurementType::Temperature:
        return texts(unitCode == 0 ? kFahrenheit : kCelsius, language);
    case MeasurementType::Humidity:
        return texts(kHumidity, language);
    case MeasurementType::Unknown:
        break;
    }
    return std::nullopt;
}

} // namespace MeasurementUnits
