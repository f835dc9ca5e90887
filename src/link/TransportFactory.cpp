#include "TransportChoice.h"

#include "link/QtSerialTransport.h"
#include "sim/SimulatedBoard.h"
#ifdef TERVIX_HAVE_FTDI
#include "link/FtdiTransport.h"
#endif

std::unique_ptr<SerialTransport> createTransport(const TransportChoice& choice, TimeBase& time,
                                                 QString* error) {
    switch (choice.kind) {
    case TransportChoice::Kind::FirstFtdiPort:
        return std::make_unique<QtSerialTransport>();
    case TransportChoice::Kind::Port:
        return std::make_unique<QtSerialTransport>(choice.port);
    case TransportChoice::Kind::Ftdi:
#ifdef TERVIX_HAVE_FTDI
        return std::make_unique<FtdiTransport>();
#else
        *error = QStringLiteral("this build has no libftdi support");
        return nullptr;
#endif
    case TransportChoice::Kind::Simulated: {
        std::optional<SimOptions> options = SimOptions::parse(choice.simulatorArguments, error);
        if (!options)
            return nullptr;
        return std::make_unique<SimulatedBoard>(time, std::move(*options));
    }
    }
    return nullptr;
}
