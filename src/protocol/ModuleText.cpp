#include "ModuleText.h"

namespace ModuleText {

namespace {

constexpr char kAddressPrefix[] = "OK+ADDR:";
constexpr char kConnectPrefix[] = "AT+CON";
constexpr char kPioPrefix[] = "AT+PIO";

} // namespace

QByteArray pio(int pin, int level) {
    return kPioPrefix + QByteArray::number(pin) + QByteArray::number(level);
}

Command parseCommand(const QByteArray& text) {
    Command c;
    if (text == attention()) {
        c.kind = Command::Attention;
    } else if (text == addressQuery()) {
        c.kind = Command::AddressQuery;
    } else if (text.startsWith(kConnectPrefix) && text.size() > 6) {
        c.kind = Command::Connect;
        c.address = text.mid(6);
    } else if (text.size() == 8 && text.startsWith(kPioPrefix) &&
               (text.at(6) == '2' || text.at(6) == '3') &&
               (text.at(7) == '0' || text.at(7) == '1')) {
        c.kind = Command::Pio;
        c.pin = text.at(6) - '0';
        c.level = text.at(7) - '0';
    }
    return c;
}

Reply classify(const QByteArray& text) {
    if (text == "OK")
        return Reply::Ok;
    if (text.startsWith(kAddressPrefix))
        return Reply::Address;
    if (text == "OK+CONNA")
        return Reply::Connecting;
    if (text == "OK+CONNAOK+CONN" || text == "OK+CONN")
        return Reply::Connected;
    // A refusal may arrive in one read with the "OK+CONNA" before it, as the link does.
    if (text == "OK+CONNE" || text == "OK+CONNAOK+CONNE")
        return Reply::ConnectError;
    if (text == "OK+CONNF" || text == "OK+CONNAOK+CONNF")
        return Reply::ConnectFailed;
    if (text == "OK+LOST")
        return Reply::Lost;
    if (text == "OK+PIO2:1")
        return Reply::AccessGranted;
    return Reply::Other;
}

QByteArray addressOf(const QByteArray& reply) {
    return reply.mid(sizeof(kAddressPrefix) - 1);
}

QByteArray okReply() {
    return QByteArrayLiteral("OK");
}

QByteArray addressReply(const QByteArray& address) {
    return kAddressPrefix + address;
}

QByteArray connectingReply() {
    return QByteArrayLiteral("OK+CONNA");
}

QByteArray connectResult(const QByteArray& suffix) {
    return QByteArrayLiteral("OK+CONN") + suffix;
}

QByteArray lostReply() {
    return QByteArrayLiteral("OK+LOST");
}

QByteArray pioReply(int pin, int level) {
    return "OK+PIO" + QByteArray::number(pin) + ':' + QByteArray::number(level);
}

QByteArray errorReply() {
    return QByteArrayLiteral("ERROR");
}

} // namespace ModuleText
