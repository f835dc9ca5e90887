#include "SimulatedBoard.h"

#include "protocol/LoggerFrame.h"
#include "protocol/LoggerReply.h"
#include "protocol/ModuleText.h"

#include "app/Ticker.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Time on the board is counted in 1/960 ms, so that one byte at 9600 baud 8N1 (ten bits,
// 1000/960 ms) is exactly 1000 ticks and no rounding error adds up along a long reply.
constexpr qint64 kTicksPerMs = 960;
constexpr qint64 kByteTicks = 1000;

qint64 msToTicks(qint64 ms) {
    return ms * kTicksPerMs;
}

constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr qint64 kYearSeconds = 365LL * 86400;

// Records carry no year and the reader checks them against the current year, so the
// logger's calendar is a common year: 29 February never occurs and 31/12 runs into 01/01.
int dayOfYear(int day, int month) {
    int doy = day - 1;
    for (int m = 0; m < month - 1; ++m)
        doy += kMonthDays[m];
    return doy;
}

void fromDayOfYear(int doy, int* day, int* month) {
    int m = 0;
    while (doy >= kMonthDays[m]) {
        doy -= kMonthDays[m];
        ++m;
    }
    *day = doy + 1;
    *month = m + 1;
}

// splitmix64: a small, generator defined bit for bit, so that the same seed gives the same
// records on every platform and standard library.
class Noise {
public:
    explicit Noise(quint64 seed) : state_(seed) {}
    // Uniform in [-1, 1).
    double next() {
        quint64 z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        z ^= z >> 31;
        return double(z >> 11) / double(1ULL << 52) - 1.0;
    }

private:
    quint64 state_;
};

struct Curve {
    double center;
    double amplitude;
    double noise;
};

// Physical values around which each quantity moves (bar, degrees, percent).
Curve curveFor(int type, bool negative) {
    Curve c{4.0, 1.5, 0.05}; // pressure
    if (type == 2 || type == 3)
        c = {2.0, 8.0, 0.2}; // temperature: below zero for part of every measurement
    else if (type == 4)
        c = {55.0, 20.0, 0.5}; // humidity
    if (negative)
        c.center = -0.25 * c.amplitude;
    return c;
}

std::vector<SimulatedBoard::Record> generateRecords(const SimOptions& o) {
    std::vector<SimulatedBoard::Record> records;
    const int count = o.initialRecordCount();
    records.reserve(size_t(count));
    const Curve curve = curveFor(o.measurementType, o.negativeValues);
    const double scale =
        o.decimalsCode >= 1 && o.decimalsCode <= 3 ? std::pow(10.0, o.decimalsCode) : 1.0;
    const int perMeasurement = std::max(1, o.recordsPerMeasurement);
    const qint64 measurementSpan = qint64(perMeasurement - 1) * o.intervalSeconds + o.gapSeconds;
    const qint64 start = qint64(dayOfYear(o.startDay, o.startMonth)) * 86400 + o.startSecondOfDay;
    Noise noise(o.seed);
    for (int j = 0; j < count; ++j) {
        const int m = j / perMeasurement;
        const int i = j % perMeasurement;
        const qint64 t =
            (start + m * measurementSpan + qint64(i) * o.intervalSeconds) % kYearSeconds;
        SimulatedBoard::Record r{};
        fromDayOfYear(int(t / 86400), &r.day, &r.month);
        const int secondOfDay = int(t % 86400);
        r.hour = secondOfDay / 3600;
        r.minute = secondOfDay / 60 % 60;
        r.second = secondOfDay % 60;
        const double x = 2.0 * std::numbers::pi * i / perMeasurement + 0.9 * m;
        const double value =
            curve.center + curve.amplitude * std::sin(x) + curve.noise * noise.next();
        r.value = qint16(std::clamp<long>(std::lround(value * scale), -32767, 32767));
        records.push_back(r);
    }
    return records;
}

QByteArray bytesOf(std::initializer_list<char> bytes) {
    return QByteArray(bytes.begin(), qsizetype(bytes.size()));
}

// --- option parsing ---

bool parseInt(const QString& value, int lo, int hi, int* out, QString* error) {
    bool ok = false;
    const int v = value.toInt(&ok);
    if (!ok || v < lo || v > hi) {
        *error = QStringLiteral("expects a whole number from %1 to %2, not \"%3\"")
                     .arg(lo)
                     .arg(hi)
                     .arg(value);
        return false;
    }
    *out = v;
    return true;
}

bool parseDuration(const QString& value, int maxHours, int* seconds, QString* error) {
    static const QRegularExpression re(QStringLiteral("^(\\d{1,4}):(\\d{2}):(\\d{2})$"));
    const auto m = re.match(value);
    const int h = m.hasMatch() ? m.captured(1).toInt() : -1;
    const int min = m.hasMatch() ? m.captured(2).toInt() : -1;
    const int s = m.hasMatch() ? m.captured(3).toInt() : -1;
    if (h < 0 || h > maxHours || min < 0 || min > 59 || s < 0 || s > 59) {
        *error = QStringLiteral("expects HH:MM:SS (hours up to %1), not \"%2\"")
                     .arg(maxHours)
                     .arg(value);
        return false;
    }
    *seconds = h * 3600 + min * 60 + s;
    return true;
}

bool parseKey(const QString& text, char* key, QString* error) {
    if (text.compare(QLatin1String("at"), Qt::CaseInsensitive) == 0) {
        *key = SimOptions::kModuleKey;
        return true;
    }
    if (text.size() == 1 && QByteArrayView("123467").contains(text.at(0).toLatin1())) {
        *key = text.at(0).toLatin1();
        return true;
    }
    *error =
        QStringLiteral("expects a reply code 1, 2, 3, 4, 6, 7 or \"at\", not \"%1\"").arg(text);
    return false;
}

bool parseKeyAndNumber(const QString& value, int lo, int hi, char* key, int* number,
                       QString* error) {
    const qsizetype colon = value.indexOf(QLatin1Char(':'));
    if (colon < 0) {
        *error = QStringLiteral("expects CODE:N, not \"%1\"").arg(value);
        return false;
    }
    return parseKey(value.left(colon), key, error) &&
           parseInt(value.mid(colon + 1), lo, hi, number, error);
}

bool parseAddress(const QString& value, QString* out, QString* error) {
    static const QRegularExpression re(QStringLiteral("^[0-9A-Za-z:_-]{1,32}$"));
    if (!re.match(value).hasMatch()) {
        *error = QStringLiteral("expects 1 to 32 letters or digits, not \"%1\"").arg(value);
        return false;
    }
    *out = value;
    return true;
}

QString hms(int seconds) {
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

using Apply = std::function<bool(SimOptions&, const QString&, QString*)>;
using Show = std::function<QString(const SimOptions&)>;

struct OptionDef {
    const char* name;
    const char* valueName; // nullptr: a flag
    const char* help;
    Apply apply;
    Show show; // the default as text; empty when "none" says it better
};

Apply intField(int SimOptions::*field, int lo, int hi) {
    return [field, lo, hi](SimOptions& o, const QString& v, QString* e) {
        return parseInt(v, lo, hi, &(o.*field), e);
    };
}

Show showInt(int SimOptions::*field) {
    return [field](const SimOptions& o) { return QString::number(o.*field); };
}

const std::vector<OptionDef>& optionTable() {
    static const std::vector<OptionDef> table = {
        // Bluetooth module
        {"module-address", "ADDR", "address the module reports while it has no link",
         [](SimOptions& o, const QString& v, QString* e) {
             return parseAddress(v, &o.moduleAddress, e);
         },
         [](const SimOptions& o) { return o.moduleAddress; }},
        {"linked",
         "ADDR",
         "fault: the module is already linked to ADDR at start",
         [](SimOptions& o, const QString& v, QString* e) {
             return parseAddress(v, &o.linkedAtStart, e);
         },
         {}},
        {"conn-fail",
         "E|F",
         "fault: \"AT+CON\" ends in \"OK+CONNE\" or \"OK+CONNF\" instead of \"OK+CONN\"",
         [](SimOptions& o, const QString& v, QString* e) {
             if (v.compare(QLatin1String("E"), Qt::CaseInsensitive) != 0 &&
                 v.compare(QLatin1String("F"), Qt::CaseInsensitive) != 0) {
                 *e = QStringLiteral("expects E or F, not \"%1\"").arg(v);
                 return false;
             }
             o.connResult = QString::fromLatin1(ModuleText::connectResult(v.toUpper().toLatin1()));
             return true;
         },
         {}},
        {"conn-delay", "MS", "time from \"OK+CONNA\" to the connection result",
         intField(&SimOptions::connDelayMs, 0, 600000), showInt(&SimOptions::connDelayMs)},
        {"lost-after",
         "MS",
         "fault: unsolicited \"OK+LOST\" MS after each link is made",
         intField(&SimOptions::lostAfterMs, 0, 86400000),
         {}},
        {"module-latency", "MS", "time from an AT command to the first byte of its reply",
         intField(&SimOptions::moduleLatencyMs, 0, 600000), showInt(&SimOptions::moduleLatencyMs)},
        // logger
        {"type", "N", "measured quantity: 1 pressure, 2 or 3 temperature, 4 humidity",
         intField(&SimOptions::measurementType, 0, 255), showInt(&SimOptions::measurementType)},
        {"unit", "N", "unit code (pressure 0 BAR ... 8 N; temperature 0 F, else C)",
         intField(&SimOptions::unitCode, 0, 255), showInt(&SimOptions::unitCode)},
        {"decimals", "N", "decimals code: 1, 2 or 3 places, anything else whole numbers",
         intField(&SimOptions::decimalsCode, 0, 255), showInt(&SimOptions::decimalsCode)},
        {"spare", "N", "spare code of the configuration reply",
         intField(&SimOptions::spareCode, 0, 255), showInt(&SimOptions::spareCode)},
        {"range", "N", "range value of the configuration reply",
         intField(&SimOptions::rangeValue, 0, 65535), showInt(&SimOptions::rangeValue)},
        {"equipment", "N", "equipment number", intField(&SimOptions::equipmentNumber, 0, 65535),
         showInt(&SimOptions::equipmentNumber)},
        {"records", "N", "records per measurement",
         intField(&SimOptions::recordsPerMeasurement, 0, 65535),
         showInt(&SimOptions::recordsPerMeasurement)},
        {"stored", "N", "measurements the logger holds",
         intField(&SimOptions::storedMeasurements, 0, 255),
         showInt(&SimOptions::storedMeasurements)},
        {"configured", "N", "measurements the logger is configured for",
         intField(&SimOptions::configuredMeasurements, 0, 255),
         showInt(&SimOptions::configuredMeasurements)},
        {"mode", "N", "recording mode byte: 1 fixed, 2 continuous",
         intField(&SimOptions::mode, 0, 255), showInt(&SimOptions::mode)},
        {"record-count", "N", "records held (more than 3713 only with --oversize)",
         intField(&SimOptions::recordCount, 0, SimulatedBoard::kMaxOversizeRecords),
         [](const SimOptions&) { return QStringLiteral("stored x records, at most 3713"); }},
        {"start-date", "DD/MM", "date of the first record",
         [](SimOptions& o, const QString& v, QString* e) {
             static const QRegularExpression re(QStringLiteral("^(\\d{1,2})/(\\d{1,2})$"));
             const auto m = re.match(v);
             const int day = m.hasMatch() ? m.captured(1).toInt() : 0;
             const int month = m.hasMatch() ? m.captured(2).toInt() : 0;
             if (month < 1 || month > 12 || day < 1 || day > kMonthDays[month - 1]) {
                 *e = QStringLiteral("expects a day and month of a common year (DD/MM), "
                                     "not \"%1\"")
                          .arg(v);
                 return false;
             }
             o.startDay = day;
             o.startMonth = month;
             return true;
         },
         [](const SimOptions& o) {
             return QStringLiteral("%1/%2")
                 .arg(o.startDay, 2, 10, QLatin1Char('0'))
                 .arg(o.startMonth, 2, 10, QLatin1Char('0'));
         }},
        {"start-time", "HH:MM:SS", "time of the first record",
         [](SimOptions& o, const QString& v, QString* e) {
             return parseDuration(v, 23, &o.startSecondOfDay, e);
         },
         [](const SimOptions& o) { return hms(o.startSecondOfDay); }},
        {"interval", "HH:MM:SS", "time between two records of a measurement (at least 1 s)",
         [](SimOptions& o, const QString& v, QString* e) {
             int s = 0;
             if (!parseDuration(v, 23, &s, e))
                 return false;
             if (s == 0) {
                 *e = QStringLiteral("must be at least 00:00:01");
                 return false;
             }
             o.intervalSeconds = s;
             return true;
         },
         [](const SimOptions& o) { return hms(o.intervalSeconds); }},
        {"gap", "HH:MM:SS", "time from a measurement's last record to the next one's first",
         [](SimOptions& o, const QString& v, QString* e) {
             return parseDuration(v, 9999, &o.gapSeconds, e);
         },
         [](const SimOptions& o) { return hms(o.gapSeconds); }},
        {"seed", "N", "seed of the noise on the record values",
         [](SimOptions& o, const QString& v, QString* e) {
             bool ok = false;
             const uint s = v.toUInt(&ok);
             if (!ok) {
                 *e = QStringLiteral("expects a whole number from 0 to 4294967295, not \"%1\"")
                          .arg(v);
                 return false;
             }
             o.seed = s;
             return true;
         },
         [](const SimOptions& o) { return QString::number(o.seed); }},
        {"negative",
         nullptr,
         "shift the record values so that they go below zero (any type)",
         [](SimOptions& o, const QString&, QString*) {
             o.negativeValues = true;
             return true;
         },
         {}},
        {"logger-latency", "MS", "time from a command frame to the first byte of its reply",
         intField(&SimOptions::loggerLatencyMs, 0, 600000), showInt(&SimOptions::loggerLatencyMs)},
        // faults
        {"open-fail",
         nullptr,
         "fault: opening the interface fails (device not found)",
         [](SimOptions& o, const QString&, QString*) {
             o.openFails = true;
             return true;
         },
         {}},
        {"write-fail-after",
         "N",
         "fault: N writes succeed, every later write fails",
         intField(&SimOptions::writeFailAfter, 0, 1000000000),
         {}},
        {"drop",
         "CODE",
         "fault: no reply for CODE (1, 2, 3, 4, 6, 7, or at); repeatable",
         [](SimOptions& o, const QString& v, QString* e) {
             char key = 0;
             if (!parseKey(v, &key, e))
                 return false;
             if (!o.dropped.contains(key))
                 o.dropped.append(key);
             return true;
         },
         {}},
        {"truncate",
         "CODE:N",
         "fault: send only the first N bytes of replies to CODE (N < 0: all but the last -N; "
         "2:N gives a records reply that never completes); repeatable",
         [](SimOptions& o, const QString& v, QString* e) {
             char key = 0;
             int n = 0;
             if (!parseKeyAndNumber(v, -65535, 65535, &key, &n, e))
                 return false;
             o.truncated[key] = n;
             return true;
         },
         {}},
        {"split",
         "CODE:MS",
         "fault: send replies to CODE in two halves, MS apart (across poll ticks); repeatable",
         [](SimOptions& o, const QString& v, QString* e) {
             char key = 0;
             int ms = 0;
             if (!parseKeyAndNumber(v, 0, 600000, &key, &ms, e))
                 return false;
             o.splitGapMs[key] = ms;
             return true;
         },
         {}},
        {"config-length", "N",
         "fault: byte 0 of the configuration reply claims N (the reply still has 26 bytes)",
         intField(&SimOptions::configLengthByte, 0, 255),
         [](const SimOptions&) { return QStringLiteral("26"); }},
        {"config-extra", "N", "fault: N extra zero bytes right after the configuration reply",
         intField(&SimOptions::configExtraBytes, 0, 1000), showInt(&SimOptions::configExtraBytes)},
        {"oversize",
         nullptr,
         "fault: allow up to 9361 records, a records reply longer than 26000 bytes",
         [](SimOptions& o, const QString&, QString*) {
             o.oversize = true;
             return true;
         },
         {}},
    };
    return table;
}

} // namespace

int SimOptions::initialRecordCount() const {
    if (recordCount >= 0)
        return recordCount;
    const int cap = oversize ? SimulatedBoard::kMaxOversizeRecords : SimulatedBoard::kMaxRecords;
    return int(std::min<qint64>(qint64(storedMeasurements) * recordsPerMeasurement, cap));
}

std::optional<SimOptions> SimOptions::parse(const QStringList& arguments, QString* error) {
    SimOptions o;
    QString message;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--")) || argument.size() == 2) {
            *error = QStringLiteral("unexpected argument \"%1\"").arg(argument);
            return std::nullopt;
        }
        QString name = argument.mid(2);
        QString value;
        const qsizetype eq = name.indexOf(QLatin1Char('='));
        const bool inlineValue = eq >= 0;
        if (inlineValue) {
            value = name.mid(eq + 1);
            name.truncate(eq);
        }
        const auto& table = optionTable();
        const auto option = std::find_if(table.begin(), table.end(), [&](const OptionDef& s) {
            return name == QLatin1String(s.name);
        });
        if (option == table.end()) {
            *error = QStringLiteral("unknown option --%1").arg(name);
            return std::nullopt;
        }
        if (!option->valueName && inlineValue) {
            *error = QStringLiteral("--%1 takes no value").arg(name);
            return std::nullopt;
        }
        if (option->valueName && !inlineValue) {
            if (i + 1 >= arguments.size()) {
                *error = QStringLiteral("--%1 needs a value (%2)")
                             .arg(name, QLatin1String(option->valueName));
                return std::nullopt;
            }
            value = arguments.at(++i);
        }
        if (!option->apply(o, value, &message)) {
            *error = QStringLiteral("--%1 %2").arg(name, message);
            return std::nullopt;
        }
    }
    const int cap = o.oversize ? SimulatedBoard::kMaxOversizeRecords : SimulatedBoard::kMaxRecords;
    if (o.recordCount > cap) {
        *error = QStringLiteral("--record-count allows at most %1 records%2")
                     .arg(cap)
                     .arg(o.oversize ? QString() : QStringLiteral(" without --oversize"));
        return std::nullopt;
    }
    return o;
}

QString SimOptions::helpText() {
    const SimOptions defaults;
    QStringList heads;
    const auto& table = optionTable();
    for (const OptionDef& s : table)
        heads << QStringLiteral("--%1%2").arg(
            QLatin1String(s.name),
            s.valueName ? QStringLiteral(" ") + QLatin1String(s.valueName) : QString());
    qsizetype width = 0;
    for (const QString& h : heads)
        width = std::max(width, h.size());
    QString text;
    for (size_t i = 0; i < table.size(); ++i) {
        const OptionDef& s = table[i];
        const QString deflt = s.show        ? s.show(defaults)
                              : s.valueName ? QStringLiteral("none")
                                            : QStringLiteral("off");
        text += QStringLiteral("  %1  %2 (default: %3)\n")
                    .arg(heads.at(qsizetype(i)).leftJustified(width), QLatin1String(s.help), deflt);
    }
    return text;
}

// --- the board ---

SimulatedBoard::SimulatedBoard(TimeBase& time, SimOptions options)
    : time_(time), options_(std::move(options)), records_(generateRecords(options_)),
      stored_(options_.storedMeasurements), recordsPerMeasurement_(options_.recordsPerMeasurement),
      configured_(options_.configuredMeasurements), mode_(options_.mode) {
    const int start = options_.startSecondOfDay;
    const int interval = options_.intervalSeconds;
    // Before the first configuration frame the clock bytes hold the first record's time
    // and date (the logger keeps no year: 00) and the recording interval.
    clock_ = bytesOf({char(start / 3600), char(start / 60 % 60), char(start % 60),
                      char(options_.startDay), char(options_.startMonth), char(0),
                      char(interval / 3600), char(interval / 60 % 60), char(interval % 60)});
    if (!options_.linkedAtStart.isEmpty())
        linkTo(options_.linkedAtStart, nowTick());
}

SimulatedBoard::~SimulatedBoard() = default;

qint64 SimulatedBoard::nowTick() const {
    return msToTicks(time_.nowMs());
}

void SimulatedBoard::schedule(qint64 tick, std::function<void(qint64)> action) {
    // After every event due at the same time, so that equal times keep their order.
    const auto at = std::upper_bound(events_.begin(), events_.end(), tick,
                                     [](qint64 t, const Event& e) { return t < e.tick; });
    events_.insert(at, Event{tick, nextOrder_++, std::move(action)});
}

void SimulatedBoard::catchUp() {
    const qint64 now = nowTick();
    while (!events_.empty() && events_.front().tick <= now) {
        Event event = std::move(events_.front());
        events_.erase(events_.begin());
        event.action(event.tick);
    }
    while (!wire_.empty()) {
        Segment& s = wire_.front();
        if (now < s.startTick)
            break;
        const qsizetype visible =
            qsizetype(std::min<qint64>(s.bytes.size(), (now - s.startTick) / kByteTicks));
        if (visible > s.delivered) {
            // Bytes that arrive while the interface is closed are lost, as on the chip.
            if (open_)
                rx_.append(s.bytes.constData() + s.delivered, visible - s.delivered);
            s.delivered = visible;
        }
        if (s.delivered < s.bytes.size())
            break;
        wire_.pop_front();
    }
}

std::optional<qint64> SimulatedBoard::nextActivityMs() const {
    std::optional<qint64> tick;
    if (!events_.empty())
        tick = events_.front().tick;
    if (!wire_.empty()) {
        const Segment& s = wire_.front();
        const qint64 next = s.startTick + qint64(s.delivered + 1) * kByteTicks;
        tick = tick ? std::min(*tick, next) : next;
    }
    if (!tick)
        return std::nullopt;
    return (*tick + kTicksPerMs - 1) / kTicksPerMs;
}

qint64 SimulatedBoard::transmit(const QByteArray& bytes, qint64 readyTick) {
    const qint64 start = std::max(readyTick, wireFreeTick_);
    wire_.push_back(Segment{start, bytes});
    wireFreeTick_ = start + qint64(bytes.size()) * kByteTicks;
    return wireFreeTick_;
}

void SimulatedBoard::reply(char key, QByteArray bytes, qint64 readyTick) {
    if (options_.dropped.contains(key))
        return;
    if (const auto cut = options_.truncated.constFind(key); cut != options_.truncated.cend()) {
        const qsizetype n = cut.value() >= 0 ? cut.value() : bytes.size() + cut.value();
        bytes.truncate(std::max<qsizetype>(0, n));
    }
    if (bytes.isEmpty())
        return;
    schedule(readyTick, [this, key, bytes](qint64 tick) {
        const auto split = options_.splitGapMs.constFind(key);
        if (split == options_.splitGapMs.cend() || bytes.size() < 2) {
            transmit(bytes, tick);
            return;
        }
        const qsizetype half = bytes.size() / 2;
        const qint64 end = transmit(bytes.left(half), tick);
        schedule(end + msToTicks(split.value()),
                 [this, rest = bytes.mid(half)](qint64 t) { transmit(rest, t); });
    });
}

int32_t SimulatedBoard::open(int index) {
    if (open_)
        return InvalidHandle;
    if (options_.openFails || index != 0)
        return DeviceNotFound;
    catchUp();
    open_ = true;
    rx_.clear();
    return Ok;
}

void SimulatedBoard::close() {
    catchUp();
    open_ = false;
    rx_.clear();
}

int32_t SimulatedBoard::setDataCharacteristics(int, int, int) {
    return open_ ? Ok : InvalidHandle;
}

int32_t SimulatedBoard::setBaudRate(int baud) {
    if (!open_)
        return InvalidHandle;
    baud_ = baud;
    return Ok;
}

int32_t SimulatedBoard::setTimeouts(int, int) {
    return open_ ? Ok : InvalidHandle;
}

int32_t SimulatedBoard::purge(int mask) {
    if (!open_)
        return InvalidHandle;
    catchUp();
    // Only what has arrived is dropped; bytes still on the wire arrive afterwards.
    if (mask & PurgeRx)
        rx_.clear();
    return Ok;
}

int32_t SimulatedBoard::write(const QByteArray& bytes, uint32_t* written) {
    if (written)
        *written = 0;
    if (!open_)
        return InvalidHandle;
    catchUp();
    if (options_.writeFailAfter >= 0 && successfulWrites_ >= options_.writeFailAfter) {
        ++failedWrites_;
        return IoError;
    }
    ++successfulWrites_;
    blocks_.append(Block{time_.nowMs(), bytes});
    handleBlock(bytes);
    if (written)
        *written = uint32_t(bytes.size());
    return Ok;
}

int32_t SimulatedBoard::queueStatus(uint32_t* rxBytes) {
    *rxBytes = 0;
    if (!open_)
        return InvalidHandle;
    catchUp();
    *rxBytes = uint32_t(rx_.size());
    return Ok;
}

int32_t SimulatedBoard::read(char* buffer, uint32_t max, uint32_t* got) {
    *got = 0;
    if (!open_)
        return InvalidHandle;
    catchUp();
    const qsizetype n = std::min<qsizetype>(rx_.size(), max);
    std::copy_n(rx_.constData(), n, buffer);
    rx_.remove(0, n);
    *got = uint32_t(n);
    return Ok;
}

QString SimulatedBoard::description() const {
    return QStringLiteral("simulated board");
}

bool SimulatedBoard::isLinked() {
    catchUp();
    return !linked_.isEmpty();
}

QString SimulatedBoard::linkedAddress() {
    catchUp();
    return linked_;
}

void SimulatedBoard::linkTo(const QString& address, qint64 tick) {
    linked_ = address;
    const quint64 generation = ++linkGeneration_;
    if (options_.lostAfterMs < 0)
        return;
    schedule(tick + msToTicks(options_.lostAfterMs), [this, generation](qint64 t) {
        if (generation != linkGeneration_)
            return; // that link has already ended or been replaced
        unlink();
        reply(SimOptions::kModuleKey, ModuleText::lostReply(), t);
    });
}

void SimulatedBoard::unlink() {
    linked_.clear();
    ++linkGeneration_;
}

void SimulatedBoard::handleBlock(const QByteArray& block) {
    if (ModuleText::isCommand(block)) {
        handleAtCommand(block);
        return;
    }
    // Without a link the module has nowhere to send the bytes.
    if (linked_.isEmpty())
        return;
    // Normally one frame per block; frames written back to back are taken one by one.
    qsizetype pos = 0;
    while (block.size() - pos >= LoggerFrame::kHeaderLength) {
        const int length = quint8(block.at(pos));
        if (length < LoggerFrame::kHeaderLength || length > block.size() - pos)
            break;
        handleFrame(block.mid(pos, length));
        pos += length;
    }
}

void SimulatedBoard::handleAtCommand(const QByteArray& text) {
    using ModuleText::Command;
    constexpr char module = SimOptions::kModuleKey;
    const qint64 ready = nowTick() + msToTicks(options_.moduleLatencyMs);
    const Command command = ModuleText::parseCommand(text);
    switch (command.kind) {
    case Command::Attention:
        if (linked_.isEmpty()) {
            reply(module, ModuleText::okReply(), ready);
        } else {
            unlink();
            reply(module, ModuleText::lostReply(), ready);
        }
        break;
    case Command::AddressQuery: {
        const QString address = linked_.isEmpty() ? options_.moduleAddress : linked_;
        reply(module, ModuleText::addressReply(address.toLatin1()), ready);
        break;
    }
    case Command::Connect: {
        const QString address = QString::fromLatin1(command.address);
        reply(module, ModuleText::connectingReply(), ready);
        schedule(ready + msToTicks(options_.connDelayMs), [this, address](qint64 tick) {
            const QByteArray result = options_.connResult.toLatin1();
            if (result == ModuleText::connectResult())
                linkTo(address, tick);
            reply(SimOptions::kModuleKey, result, tick);
        });
        break;
    }
    case Command::Pio:
        (command.pin == 2 ? pio2_ : pio3_) = command.level;
        reply(module, ModuleText::pioReply(command.pin, command.level), ready);
        break;
    case Command::Unknown:
        // The module's generic refusal, so a typo shows in a trace.
        reply(module, ModuleText::errorReply(), ready);
        break;
    }
}

void SimulatedBoard::handleFrame(const QByteArray& frame) {
    // A frame that does not follow the command layout is not answered at all.
    const std::optional<LoggerFrame::Code> code = LoggerFrame::commandCode(frame);
    if (!code)
        return;
    const qint64 ready = nowTick() + msToTicks(options_.loggerLatencyMs);
    switch (*code) {
    case LoggerFrame::AccessRequest:
        reply(*code, LoggerReply::acknowledgement(*code), ready);
        break;
    case LoggerFrame::ReadConfiguration:
        reply(*code, configurationReply(), ready);
        break;
    case LoggerFrame::DownloadRecords:
        reply(*code, recordsReply(), ready);
        break;
    case LoggerFrame::ClearRecords:
        records_.clear();
        stored_ = 0;
        reply(*code, LoggerReply::acknowledgement(*code), ready);
        break;
    case LoggerFrame::SendConfiguration: {
        // The records already stored stay; the new counts apply to what is recorded next.
        const LoggerFrame::Configuration c = LoggerFrame::decodeConfiguration(frame);
        clock_ = LoggerFrame::clockBytes(frame);
        recordsPerMeasurement_ = c.recordsPerMeasurement;
        mode_ = c.mode;
        configured_ = c.measurements;
        reply(*code, LoggerReply::acknowledgement(*code), ready);
        break;
    }
    case LoggerFrame::RecordingSwitch: {
        const char parameter = frame.at(2);
        if (parameter != LoggerFrame::kRecordingOn && parameter != LoggerFrame::kRecordingOff)
            return;
        recording_ = parameter == LoggerFrame::kRecordingOn;
        reply(*code, LoggerReply::acknowledgement(*code, parameter), ready);
        break;
    }
    }
}

QByteArray SimulatedBoard::configurationReply() const {
    const SimOptions& o = options_;
    LoggerReply::Configuration c;
    c.info.storedMeasurements = stored_;
    c.info.decimalsCode = o.decimalsCode;
    c.info.measurementType = o.measurementType;
    c.info.unitCode = o.unitCode;
    c.info.spareCode = o.spareCode;
    c.info.rangeValue = o.rangeValue;
    c.info.equipmentNumber = o.equipmentNumber;
    c.info.recordsPerMeasurement = recordsPerMeasurement_;
    c.info.configuredMeasurements = configured_;
    c.recordsReplyLength = uint32_t(recordsReplyLength());
    c.clock = clock_;
    c.mode = mode_;
    return LoggerReply::encodeConfiguration(c, o.configLengthByte >= 0
                                                   ? o.configLengthByte
                                                   : LoggerReply::kConfigurationLength) +
           QByteArray(o.configExtraBytes, '\0');
}

QByteArray SimulatedBoard::recordsReply() const {
    QList<LoggerReply::Record> records;
    records.reserve(records_.size());
    for (const Record& r : records_)
        records.push_back({r.day, r.month, r.hour, r.minute, r.second, quint16(r.value)});
    return LoggerReply::encodeRecords(stored_, records);
}
