#pragma once

#include "link/SerialTransport.h"
#include "protocol/LoggerReply.h"
#include "protocol/ModuleText.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

class TimeBase;

// What the simulated interface board holds and which faults it injects. Set from options
// (see SimOptions::helpText()); the defaults describe a healthy board and a pressure logger.
struct SimOptions {
    // Replies are selected for a fault by a key: a logger reply code ('1', '2', '3', '4', '6',
    // '7') or kModuleKey for every reply of the Bluetooth module (written "at" as an option).
    static constexpr char kModuleKey = 'A';

    // --- Bluetooth module ---
    QString moduleAddress = QStringLiteral("00124B0A17F3");
    QString linkedAtStart; // empty: the module starts without a link
    QString connResult = QString::fromLatin1(ModuleText::connectResult()); // or with E / F
    int moduleLatencyMs = 20; // from a command to the first byte of its reply
    int connDelayMs = 100;    // from "OK+CONNA" to the connection result
    int lostAfterMs = -1;     // unsolicited "OK+LOST" this long after each link; -1 never

    // --- logger ---
    int measurementType = 1; // 1 pressure, 2/3 temperature, 4 humidity
    int unitCode = 0;
    int decimalsCode = 1;
    int spareCode = 0;
    int rangeValue = 100;
    int equipmentNumber = 1234;
    int recordsPerMeasurement = 10;
    int storedMeasurements = 2;
    int configuredMeasurements = 5;
    int mode = 1;         // 1 fixed, 2 continuous
    int recordCount = -1; // -1: stored measurements x records per measurement, bounded
    int startDay = 14;    // first record: 14/03 08:00:00
    int startMonth = 3;
    int startSecondOfDay = 8 * 3600;
    int intervalSeconds = 60;
    int gapSeconds = 3600; // from the last record of a measurement to the next one's first
    quint32 seed = 1;
    bool negativeValues = false; // shift every curve so that it dips below zero
    int loggerLatencyMs = 30;

    // --- faults ---
    bool openFails = false;
    int writeFailAfter = -1;    // this many writes succeed, every later one fails; -1 never
    QByteArray dropped;         // keys whose replies are lost
    QMap<char, int> truncated;  // key -> bytes sent (negative: all but that many at the end)
    QMap<char, int> splitGapMs; // key -> pause between the two halves of a reply
    int configLengthByte = -1;  // byte 0 of the configuration reply; -1 its true length (26)
    int configExtraBytes = 0;   // zero bytes sent right after the configuration reply
    bool oversize = false;      // allow more records than one 26000-byte reply holds

    // The record count the logger starts with (resolves recordCount = -1).
    int initialRecordCount() const;

    // Parses "--name value", "--name=value" and flags (arguments without the program name);
    // nullopt and a message on a bad option.
    static std::optional<SimOptions> parse(const QStringList& arguments, QString* error);
    // One line per option with its default.
    static QString helpText();
};

// The interface board in process: a Bluetooth module answering AT commands and a logger
// answering command frames, its output paced at 9600 baud 8N1 on the given time base.
// Every call first brings the board up to the time base's now; nothing runs on its own
// thread or timer, so on a ManualClock every byte appears at an exact, repeatable time.
class SimulatedBoard : public SerialTransport {
public:
    static constexpr int kMaxRecords = 3713;         // a reply that fits 26000 bytes
    static constexpr int kMaxOversizeRecords = 9361; // a length that fits two bytes

    struct Block {
        qint64 timeMs;
        QByteArray bytes;
    };
    struct Record {
        int day, month, hour, minute, second;
        qint16 value;
    };

    SimulatedBoard(TimeBase& time, SimOptions options);
    ~SimulatedBoard() override;

    int32_t open(int index) override;
    void close() override;
    bool isOpen() const override { return open_; }
    int32_t setDataCharacteristics(int wordLength, int stopBits, int parity) override;
    int32_t setBaudRate(int baud) override;
    int32_t setTimeouts(int readMs, int writeMs) override;
    int32_t purge(int mask) override;
    int32_t write(const QByteArray& bytes, uint32_t* written) override;
    int32_t queueStatus(uint32_t* rxBytes) override;
    int32_t read(char* buffer, uint32_t max, uint32_t* got) override;
    QString description() const override;

    const SimOptions& options() const { return options_; }

    // Module state, as of now.
    bool isLinked();
    QString linkedAddress();
    int pio2() const { return pio2_; }
    int pio3() const { return pio3_; }

    // Logger state.
    const std::vector<Record>& records() const { return records_; }
    int storedMeasurements() const { return stored_; }
    int recordsPerMeasurement() const { return recordsPerMeasurement_; }
    int configuredMeasurements() const { return configured_; }
    int mode() const { return mode_; }
    bool recording() const { return recording_; }
    int recordsReplyLength() const { return LoggerReply::recordsReplyLength(int(records_.size())); }

    // Line state and traffic.
    int baudRate() const { return baud_; }
    const QList<Block>& receivedBlocks() const { return blocks_; }
    int failedWrites() const { return failedWrites_; }
    // The earliest time at which a byte becomes visible or the board acts by itself;
    // nullopt when nothing is pending.
    std::optional<qint64> nextActivityMs() const;

private:
    struct Event {
        qint64 tick;
        quint64 order;
        std::function<void(qint64 tick)> action;
    };
    struct Segment {
        qint64 startTick;
        QByteArray bytes;
        qsizetype delivered = 0;
    };

    qint64 nowTick() const;
    void catchUp();
    void schedule(qint64 tick, std::function<void(qint64)> action);
    void reply(char key, QByteArray bytes, qint64 readyTick);
    qint64 transmit(const QByteArray& bytes, qint64 readyTick);

    void handleBlock(const QByteArray& block);
    void handleAtCommand(const QByteArray& text);
    void handleFrame(const QByteArray& frame);
    void linkTo(const QString& address, qint64 tick);
    void unlink();

    QByteArray configurationReply() const;
    QByteArray recordsReply() const;

    TimeBase& time_;
    SimOptions options_;

    bool open_ = false;
    int baud_ = 0;
    int successfulWrites_ = 0;
    int failedWrites_ = 0;
    QList<Block> blocks_;

    // The wire: events in time order, then the bytes on their way, then what can be read.
    std::vector<Event> events_;
    quint64 nextOrder_ = 0;
    std::deque<Segment> wire_;
    qint64 wireFreeTick_ = 0;
    QByteArray rx_;

    QString linked_;
    quint64 linkGeneration_ = 0;
    int pio2_ = 0;
    int pio3_ = 0;

    std::vector<Record> records_;
    int stored_;
    int recordsPerMeasurement_;
    int configured_;
    int mode_;
    QByteArray clock_;
    bool recording_ = false;
};
