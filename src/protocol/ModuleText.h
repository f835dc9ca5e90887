#pragma once

#include <QByteArray>

// The Bluetooth module's AT texts: the commands the program writes and the replies it
// tells apart. The module answers in plain ASCII without line ends.
namespace ModuleText {

// --- commands ---
inline QByteArray attention() {
    return QByteArrayLiteral("AT");
}
inline QByteArray addressQuery() {
    return QByteArrayLiteral("AT+ADDR?");
}
inline QByteArray connectTo(const QByteArray& address) {
    return QByteArrayLiteral("AT+CON") + address;
}
// "AT+PIO<pin><level>": pin 2 or 3, level 0 or 1.
QByteArray pio(int pin, int level);

// A block the module takes for itself (an AT command) rather than passing it to the logger.
inline bool isCommand(const QByteArray& block) {
    return block.startsWith(attention());
}

// A command as the module reads it.
struct Command {
    enum Kind { Unknown, Attention, AddressQuery, Connect, Pio } kind = Unknown;
    QByteArray address; // Connect
    int pin = 0;        // Pio
    int level = 0;      // Pio
};
Command parseCommand(const QByteArray& text);

// --- replies ---
enum class Reply {
    Other,         // anything the program does not wait for
    Ok,            // "OK": the answer to "AT" without a link
    Address,       // "OK+ADDR:" and the module's address
    Connecting,    // "OK+CONNA"
    Connected,     // "OK+CONN", also run together with "OK+CONNA"
    ConnectError,  // "OK+CONNE"
    ConnectFailed, // "OK+CONNF"
    Lost,          // "OK+LOST"
    AccessGranted, // "OK+PIO2:1"
};
Reply classify(const QByteArray& text);
// The address an "OK+ADDR:" reply names.
QByteArray addressOf(const QByteArray& reply);

QByteArray okReply();
QByteArray addressReply(const QByteArray& address);
QByteArray connectingReply();
// The result of a connect: "OK+CONN", or with the suffix of a failure ("E", "F").
QByteArray connectResult(const QByteArray& suffix = {});
QByteArray lostReply();
QByteArray pioReply(int pin, int level);
QByteArray errorReply();

} // namespace ModuleText
