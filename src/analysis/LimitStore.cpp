#include "LimitStore.h"

#include <QFileInfo>
#include <QLocale>
#include <QSettings>

namespace {

std::optional<double> number(const QVariant& v) {
    bool ok = false;
    const double d = v.toString().toDouble(&ok);
    return ok ? std::optional(d) : std::nullopt;
}

} // namespace

LimitStore::LimitStore(const QString& path) : path_(QFileInfo(path).absoluteFilePath()) {}

QString LimitStore::group(int measurementType, int unitCode) {
    if (measurementType <= 1)
        return QStringLiteral("pressure_%1").arg(unitCode);
    if (measurementType == 2 || measurementType == 3)
        return unitCode == 0 ? QStringLiteral("temperature_F") : QStringLiteral("temperature_C");
    if (measurementType == 4)
        return QStringLiteral("humidity");
    return QStringLiteral("type%1_%2").arg(measurementType).arg(unitCode);
}

void LimitStore::load() const {
    if (cache_)
        return;
    cache_.emplace();
    QSettings ini(path_, QSettings::IniFormat);
    for (const QString& g : ini.childGroups()) {
        ini.beginGroup(g);
        Limits l{number(ini.value(QStringLiteral("lower"))),
                 number(ini.value(QStringLiteral("upper")))};
        ini.endGroup();
        // A hand-edited file with the limits crossed holds none for that quantity.
        if (l.lower && l.upper && *l.lower > *l.upper)
            l = {};
        cache_->insert(g, l);
    }
}

Limits LimitStore::get(int measurementType, int unitCode) const {
    load();
    return cache_->value(group(measurementType, unitCode));
}

bool LimitStore::put(int measurementType, int unitCode, const Limits& limits) {
    load();
    const QString g = group(measurementType, unitCode);
    cache_->insert(g, limits);
    QSettings ini(path_, QSettings::IniFormat);
    ini.beginGroup(g);
    for (const auto& [key, value] : {std::pair(QStringLiteral("lower"), limits.lower),
                                     std::pair(QStringLiteral("upper"), limits.upper)}) {
        if (value)
            ini.setValue(key, QString::number(*value, 'g', QLocale::FloatingPointShortest));
        else
            ini.remove(key);
    }
    ini.endGroup();
    ini.sync();
    return ini.status() == QSettings::NoError;
}
