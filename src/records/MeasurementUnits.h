#pragma once

#include <QString>

#include <optional>

// The quantity a logger measures, from the type code of its configuration reply.
enum class MeasurementType { Pressure, Temperature, Humidity, Unknown };

// The quantity and unit tables: names of the quantity per language, unit texts and the
// 16-character headers of the value column. An unknown code gives nullopt, and the caller
// then keeps what it showed before.
namespace MeasurementUnits {

// Codes 1 or less are pressure, 2 and 3 temperature, 4 humidity; any other is unknown.
MeasurementType typeOf(int measurementTypeCode);

// The quantity's name as the instrument panel shows it ("PRESSÃO", "HUMIDITY   ", ...).
std::optional<QString> typeText(int measurementTypeCode, char language);

struct UnitTexts {
    QString unit;        // beside "Unidade:"
    QString valueHeader; // header of the value column, 16 characters
};

// The unit of a quantity. Pressure knows the codes -1 (mBAR, only from data files) to 8;
// temperature reads 0 as ºF and every other code as ºC; humidity has one unit whatever the
// code.
std::optional<UnitTexts> unitTexts(int measurementTypeCode, int unitCode, char language);

} // namespace MeasurementUnits
