#pragma once

#include "Limits.h"
#include "records/DataFolder.h"

#include <QMap>
#include <QString>

#include <optional>

// The limits of each quantity and unit, kept in a small INI file beside the settings file
// (which keeps its one language byte). Never sent to the logger.
class LimitStore {
public:
    static inline const QString kName = QStringLiteral("limits.ini");

    // A relative path is taken in the current folder of the moment the store is made (the
    // folder of the settings file), whatever folder a file dialog moves to later.
    explicit LimitStore(const QString& path = DataFolder::filePath(kName));

    Limits get(int measurementType, int unitCode) const;
    // False when the file could not be written; the limits in use change all the same.
    bool put(int measurementType, int unitCode, const Limits& limits);
    const QString& path() const { return path_; }

    // The INI group of a quantity and unit ("pressure_3", "temperature_C", "humidity").
    static QString group(int measurementType, int unitCode);

private:
    void load() const;

    QString path_;
    mutable std::optional<QMap<QString, Limits>> cache_;
};
