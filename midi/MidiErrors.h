#pragma once
// The port components' exceptions and the result codes of our MIDI service layer with their
// texts (the "platform's error text" the ports report).

#include <cstdint>
#include <stdexcept>
#include <string>

namespace midi {

class EMidiInputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EmidioutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Result codes of the service layer, numbered like the classic multimedia MIDI results.
enum MidiResult : std::uint16_t {
    kResultOk = 0,
    kResultError = 1,          // the device refused the operation
    kResultBadDeviceId = 2,
    kResultInvalidHandle = 5,  // the device is not open
};

// The text of a result code; unknown codes give "Specified error number is out of range".
std::string MidiResultText(std::uint16_t result);

// "None", "MIDI Port", ... for the technology codes of MidiBackend.h.
std::string TechnologyName(int technology);

}  // namespace midi
