// Our ports through a real JACK server, a plain RtMidi client on the other side. tools/test.sh
// starts a private server and names it in MONDRAL_JACK_SERVER; without one the tests skip.
// The server-loss test starts, stops and restarts a server of its own beside it.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "midi/CompositeBackend.h"
#include "midi/EmulatedRack.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "midi/RtMidiBackend.h"
#include "midi/SysexMessages.h"
#include "tests/midi/BankFiles.h"
#include "tests/midi/JackPeer.h"

namespace midi {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::JackPeer;

// Polls until the condition holds; false after the limit (a lost message, not a slow one).
template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds limit = 3s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

Bytes Pattern(std::size_t length, unsigned step) {
    Bytes data(length);
    for (std::size_t i = 0; i < length; ++i) data[i] = static_cast<std::uint8_t>((i * step + 3) % 128);
    return data;
}

Bytes Bulk(Byte format, const Bytes& data) {
    return BuildSysex(MakeSysexHeader(format, 0, data.size()), data);
}

template <std::size_t N>
Bytes AsBytes(const std::array<Byte, N>& message) {
    return Bytes(message.begin(), message.end());
}

// Every kind of message the program exchanges with a TF1 module, a DX7 and a patch bay.
std::vector<Bytes> EveryMessageKind() {
    const Bytes bank = testing::ReadBytes(testing::BankFilePaths().front());
    const Bytes systemInfo{'T', 'F', '1', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 1, 2, 0x10, 0, 30, 0};
    return {
        bank,                                                // 32-voice bulk dump, 4104 bytes
        Bulk(kFormatFunctions, Pattern(4096, 7)),            // function bank dump, 4104 bytes
        Bulk(kFormatSingleVoice, Pattern(155, 11)),          // single voice, 163 bytes
        Bulk(kFormatSingleFunctionTx816, Pattern(94, 5)),    // single function, 102 bytes
        Bulk(kFormatSystemInfo, systemInfo),                 // system information reply, 24 bytes
        AsBytes(MakeParameterChange(130, kGroupVoice, 99, 0)),  // parameter change, 7 bytes
        AsBytes(MakeDumpRequest(kFormatVoiceBank, 0)),       // dump requests, 5 bytes
        AsBytes(MakeDumpRequest(kFormatFunctions, 1)),
        AsBytes(MakeDumpRequest(kFormatSystemInfo, 7)),
        {0xBF, 0x14, 0x03},                                  // module select controller
        {0xCF, 0x03},                                        // patch bay program change
    };
}

Bytes Ping(std::uint8_t direction, std::uint8_t number) { return {0xF0, 0x7D, direction, number, 0xF7}; }

class JackIntegrationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* server = std::getenv("MONDRAL_JACK_SERVER");
        if (!server || !*server) return;
        // That server and no other: never the default one, never one started on demand.
        ::setenv("JACK_DEFAULT_SERVER", server, 1);
        ::setenv("JACK_NO_START_SERVER", "1", 1);
        tag_ = new std::string(std::to_string(::getpid()));
        peer_ = new JackPeer(*tag_);
        backend_ = new RtMidiBackend("mondral-test-" + *tag_);
    }
    static void TearDownTestSuite() {
        delete peer_;
        delete backend_;
        delete tag_;
        peer_ = nullptr;
        backend_ = nullptr;
        tag_ = nullptr;
    }

    void SetUp() override {
        if (!backend_) {
            const char* ci = std::getenv("CI");
            if (ci && std::string(ci) == "true")
                FAIL() << "CI: the MIDI integration tests need the private JACK server of tools/test.sh.";
            GTEST_SKIP() << "No JACK server for the MIDI integration tests: tools/test.sh starts a "
                            "private one (needs jackd2); skipped.";
        }
        input_ = std::make_unique<TMidiInput>(*backend_);
        output_ = std::make_unique<TMidiOutput>(*backend_);
        // Found by name: the JACK server decides the order of the ports.
        input_->SetProductName(PortNamed(backend_->Inputs(), "peer-out-" + *tag_ + ":"));
        output_->SetProductName(PortNamed(backend_->Outputs(), "peer-in-" + *tag_ + ":"));
        EXPECT_EQ(output_->Technology(), kTechnologySoftwarePort);
        input_->SetCapacity(5000);
        input_->SetSysexBufferSize(16000);
        input_->SetSysexBufferCount(64);
        ASSERT_TRUE(input_->Open());
        input_->Start();
        ASSERT_TRUE(output_->Open());
        Handshake();
    }
    void TearDown() override {
        output_.reset();
        input_.reset();
        if (peer_) peer_->Clear();
    }

    static std::string PortNamed(const std::vector<DeviceInfo>& devices, const std::string& prefix) {
        for (const DeviceInfo& device : devices)
            if (device.name.rfind(prefix, 0) == 0) return device.name;
        ADD_FAILURE() << "no JACK port named " << prefix << "...";
        return prefix;
    }

    // A message sent right after connecting can be lost, and a loaded machine loses more: ping
    // both ways until the latest ping comes back, then forget the pings.
    void Handshake() {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        bool outbound = false;
        for (unsigned n = 0; !outbound && std::chrono::steady_clock::now() < deadline; ++n) {
            const Bytes ping = Ping(1, static_cast<std::uint8_t>(n & 0x7F));
            output_->SendLong(ping.data(), static_cast<std::uint16_t>(ping.size()));
            outbound = WaitFor([&] {
                const auto received = peer_->Received();
                return !received.empty() && received.back() == ping;
            }, 30ms);
        }
        ASSERT_TRUE(outbound) << "our output never reached the peer";
        bool inbound = false;
        for (unsigned n = 0; !inbound && std::chrono::steady_clock::now() < deadline; ++n) {
            const Bytes ping = Ping(2, static_cast<std::uint8_t>(n & 0x7F));
            peer_->Send(ping);
            inbound = WaitFor([&] {
                while (auto event = input_->TakeEvent())
                    if (event->sysexData == ping) return true;
                return false;
            }, 30ms);
        }
        ASSERT_TRUE(inbound) << "the peer never reached our input";
        std::this_thread::sleep_for(5ms);
        while (input_->TakeEvent()) {
        }
        peer_->Clear();
    }

    void SendFromOurSide(const Bytes& message) {
        if (message[0] == 0xF0)
            output_->SendLong(message.data(), static_cast<std::uint16_t>(message.size()));
        else
            output_->SendShort(message[0], message[1], message.size() > 2 ? message[2] : 0);
    }

    std::vector<std::unique_ptr<TMyMidiEvent>> TakeEvents(std::size_t count) {
        std::vector<std::unique_ptr<TMyMidiEvent>> events;
        WaitFor([&] {
            while (auto event = input_->TakeEvent()) events.push_back(std::move(event));
            return events.size() >= count;
        });
        return events;
    }

    static void ExpectEvent(const TMyMidiEvent& event, const Bytes& message) {
        if (message[0] == 0xF0) {
            EXPECT_EQ(event.status, 0xF0);
            EXPECT_EQ(event.sysexLength, message.size());
            EXPECT_EQ(event.sysexData, message) << "message of " << message.size() << " bytes";
        } else {
            EXPECT_EQ(event.status, message[0]);
            EXPECT_EQ(event.data1, message[1]);
            EXPECT_EQ(event.data2, message.size() > 2 ? message[2] : 0);
            EXPECT_EQ(event.sysexLength, 0);
        }
    }

    static std::string* tag_;
    static JackPeer* peer_;
    static RtMidiBackend* backend_;
    std::unique_ptr<TMidiInput> input_;
    std::unique_ptr<TMidiOutput> output_;
};

std::string* JackIntegrationTest::tag_ = nullptr;
JackPeer* JackIntegrationTest::peer_ = nullptr;
RtMidiBackend* JackIntegrationTest::backend_ = nullptr;

TEST_F(JackIntegrationTest, EveryMessageKindFromOurOutput) {
    const std::vector<Bytes> messages = EveryMessageKind();
    for (const Bytes& message : messages) SendFromOurSide(message);
    ASSERT_TRUE(WaitFor([&] { return peer_->Received().size() >= messages.size(); }))
        << peer_->Received().size() << " of " << messages.size() << " arrived";
    EXPECT_EQ(peer_->Received(), messages);
}

TEST_F(JackIntegrationTest, EveryMessageKindIntoOurInputWithoutClockOrSensing) {
    const std::vector<Bytes> messages = EveryMessageKind();
    for (const Bytes& message : messages) {
        peer_->Send(message);
        peer_->Send({0xFE});
        peer_->Send({0xF8});
    }
    const auto events = TakeEvents(messages.size());
    ASSERT_EQ(events.size(), messages.size());
    for (std::size_t i = 0; i < messages.size(); ++i) ExpectEvent(*events[i], messages[i]);
    std::this_thread::sleep_for(50ms);  // two more cycles: nothing else may arrive
    EXPECT_EQ(input_->MessageCount(), 0);
}

TEST_F(JackIntegrationTest, SysexOnlyQueuesNoShortMessages) {
    input_->SetSysexOnly(true);
    const Bytes request{0xF0, 0x43, 0x20, 0x09, 0xF7};
    peer_->Send({0x90, 0x3C, 0x64});
    peer_->Send({0xBF, 0x14, 0x03});
    peer_->Send({0xCF, 0x03});
    peer_->Send(request);
    const auto events = TakeEvents(1);
    ASSERT_EQ(events.size(), 1u);
    ExpectEvent(*events[0], request);  // the short messages before it were not queued
    EXPECT_EQ(input_->MessageCount(), 0);
}

TEST_F(JackIntegrationTest, FetchABankFromAModule) {
    // The peer plays TF1 module 3 on channel 4: it answers the 32-voice request with its bank.
    MidiSettings settings;
    settings.moduleChannels[3] = 4;
    SysexMessages messages(*output_, settings);
    const Bytes file = testing::ReadBytes(testing::BankFilePaths()[5]);
    const Bytes bankImage(file.begin() + 6, file.end() - 2);
    const Bytes dump = BuildSysex(MakeSysexHeader(kFormatVoiceBank, 3, bankImage.size()), bankImage);
    std::thread module([&] {
        const Bytes request = AsBytes(MakeDumpRequest(kFormatVoiceBank, 3));
        if (WaitFor([&] {
                const auto received = peer_->Received();
                return !received.empty() && received.back() == request;
            }))
            peer_->Send(dump);
    });

    messages.SelectModule(3);
    ASSERT_TRUE(messages.SendDumpRequest(3, kFormatVoiceBank));
    const auto events = TakeEvents(1);
    module.join();
    const Bytes expectedTraffic{0xBF, 0x14, 0x03};
    EXPECT_EQ(peer_->Received().front(), expectedTraffic);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]->sysexData, dump);

    const AcceptedReply reply = AcceptReply(events[0]->sysexData);
    ASSERT_EQ(reply.error, ReplyError::kNone);
    ASSERT_EQ(reply.kind, ReplyKind::kVoiceBank);
    std::array<core::PackedVoice, core::kSlotsPerPage> bank{};
    for (std::size_t slot = 0; slot < bank.size(); ++slot)
        std::copy_n(reply.data.begin() + slot * core::kPackedVoiceSize, core::kPackedVoiceSize,
                    bank[slot].begin());
    for (std::size_t slot = 0; slot < bank.size(); ++slot)
        EXPECT_TRUE(std::equal(bank[slot].begin(), bank[slot].end(),
                               file.begin() + 6 + slot * core::kPackedVoiceSize))
            << "voice " << slot;
}

TEST_F(JackIntegrationTest, EightBankDumpsInARowAllArrive) {
    const auto paths = testing::BankFilePaths();
    ASSERT_GE(paths.size(), 8u);
    std::vector<Bytes> dumps;
    for (std::size_t i = 0; i < 8; ++i) {
        dumps.push_back(testing::ReadBytes(paths[i]));
        dumps.back()[2] = static_cast<std::uint8_t>(i);  // module i's channel
        SendFromOurSide(dumps.back());
    }
    ASSERT_TRUE(WaitFor([&] { return peer_->Received().size() >= 8; }))
        << peer_->Received().size() << " of 8 dumps arrived";
    EXPECT_EQ(peer_->Received(), dumps);
}

// A JACK server of the test's own, which it stops and starts again under the same name.
class StoppableJackServer {
public:
    explicit StoppableJackServer(std::string name) : name_(std::move(name)) {}
    ~StoppableJackServer() { Stop(); }

    // Ready when jack_lsp reaches it; a loaded machine may take seconds.
    bool Start() {
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
        std::vector<std::string> args{"jackd", "--name", name_, "--no-realtime", "--port-max", "64",
                                      "-d", "dummy", "-r", "48000", "-p", "1024", "-C", "0", "-P", "0"};
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int spawned = posix_spawnp(&pid_, "jackd", &files, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&files);
        if (spawned != 0) {
            pid_ = -1;
            return false;
        }
        const std::string probe = "JACK_DEFAULT_SERVER='" + name_ + "' jack_lsp >/dev/null 2>&1";
        return WaitFor([&] { return !Running() || std::system(probe.c_str()) == 0; }, 20s) && Running();
    }
    // SIGTERM stops it as a user would, SIGKILL as a crash does.
    void Stop(int signal = SIGTERM) {
        if (pid_ <= 0) return;
        ::kill(pid_, signal);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    const std::string& Name() const { return name_; }

private:
    bool Running() { return pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0; }

    std::string name_;
    pid_t pid_ = -1;
};

// The JACK server a client opened from now on looks for; the previous one again afterwards.
class DefaultServer {
public:
    explicit DefaultServer(const std::string& name) {
        if (const char* old = std::getenv("JACK_DEFAULT_SERVER")) old_ = old;
        ::setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
    }
    ~DefaultServer() { ::setenv("JACK_DEFAULT_SERVER", old_.c_str(), 1); }

private:
    std::string old_;
};

bool Lists(const std::vector<DeviceInfo>& devices, const std::string& name) {
    return std::any_of(devices.begin(), devices.end(),
                       [&](const DeviceInfo& device) { return device.name == name; });
}

std::vector<std::string> JackPortNames(RtMidi& lister) {
    std::vector<std::string> names;
    for (unsigned i = 0; i < lister.getPortCount(); ++i) names.push_back(lister.getPortName(i));
    return names;
}

// What another program on the server sees of us: our input and output port names.
std::vector<std::string> OurPortsSeenFromOutside(const std::string& client) {
    RtMidiIn sources(RtMidi::UNIX_JACK, "observer-in");
    RtMidiOut destinations(RtMidi::UNIX_JACK, "observer-out");
    std::vector<std::string> ours;
    for (RtMidi* lister : {static_cast<RtMidi*>(&destinations), static_cast<RtMidi*>(&sources)})
        for (const std::string& name : JackPortNames(*lister))
            if (name.rfind(client + ":", 0) == 0) ours.push_back(name);
    return ours;
}

// Sends numbered pings until one reaches the peer: the first messages after connecting may be
// lost, more so on a loaded machine.
bool PingThrough(TMidiOutput& output, JackPeer& peer) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    for (unsigned n = 0; std::chrono::steady_clock::now() < deadline; ++n) {
        const Bytes ping = Ping(3, static_cast<std::uint8_t>(n & 0x7F));
        output.SendLong(ping.data(), static_cast<std::uint16_t>(ping.size()));
        if (WaitFor([&] {
                const auto received = peer.Received();
                return !received.empty() && received.back() == ping;
            }, 30ms))
            return true;
    }
    return false;
}

// The same the other way: pings from the peer until one reaches our input.
bool PingBack(JackPeer& peer, TMidiInput& input) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    for (unsigned n = 0; std::chrono::steady_clock::now() < deadline; ++n) {
        const Bytes ping = Ping(4, static_cast<std::uint8_t>(n & 0x7F));
        peer.Send(ping);
        if (WaitFor([&] {
                while (auto event = input.TakeEvent())
                    if (event->sysexData == ping) return true;
                return false;
            }, 30ms))
            return true;
    }
    return false;
}

class JackServerLossTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* server = std::getenv("MONDRAL_JACK_SERVER");
        if (!server || !*server) {
            const char* ci = std::getenv("CI");
            if (ci && std::string(ci) == "true")
                FAIL() << "CI: the MIDI integration tests need the private JACK server of tools/test.sh.";
            GTEST_SKIP() << "No JACK server for the MIDI integration tests (tools/test.sh); skipped.";
        }
        ::setenv("JACK_NO_START_SERVER", "1", 1);
    }
};

TEST_F(JackServerLossTest, AServerThatGoesAwayIsDroppedAndANewOneFoundByTheNextReopen) {
    const std::string tag = "loss-" + std::to_string(::getpid());
    StoppableJackServer server("mondral-" + tag + "-" + std::to_string(std::time(nullptr)));
    ASSERT_TRUE(server.Start()) << "jackd did not come up";
    DefaultServer useIt(server.Name());

    const std::string client = "mondral-test-" + tag;
    EmulatedRack rack;
    RtMidiBackend jack(client);
    CompositeBackend backend({&jack, &rack});
    auto peer = std::make_unique<JackPeer>(tag);
    // Another program whose name only starts with ours is listed like any other.
    auto lookalike = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, client + "-x");
    lookalike->openVirtualPort("out");

    TMidiInput input(backend);
    TMidiOutput output(backend);
    const std::string peerIn = "peer-in-" + tag + ":in";
    const std::string peerOut = "peer-out-" + tag + ":out";
    EXPECT_TRUE(WaitFor([&] { return Lists(backend.Inputs(), client + "-x:out"); }));
    input.SetProductName(peerOut);
    ASSERT_TRUE(input.Open());
    input.Start();
    output.SetProductName(peerIn);
    ASSERT_TRUE(output.Open());
    ASSERT_TRUE(PingThrough(output, *peer));
    ASSERT_TRUE(PingBack(*peer, input));
    const auto expectStableNames = [&] {
        auto seen = OurPortsSeenFromOutside(client);
        std::sort(seen.begin(), seen.end());
        EXPECT_EQ(seen, (std::vector<std::string>{client + ":in", client + ":out"}));
    };
    expectStableNames();
    // Reopening keeps the names, so connections made elsewhere find them again.
    output.Close();
    input.Close();
    ASSERT_TRUE(input.Open());
    ASSERT_TRUE(output.Open());
    expectStableNames();

    lookalike.reset();
    // Stopped, then crashed: each time while our ports are open on it (the other programs
    // went first), then a server under the same name comes back.
    for (const int signal : {SIGTERM, SIGKILL}) {
        SCOPED_TRACE(signal == SIGTERM ? "stopped" : "crashed");
        peer.reset();
        server.Stop(signal);
        // Sends fail (they neither hang nor crash) once the shutdown notice is in.
        ASSERT_TRUE(WaitFor([&] {
            try {
                output.SendShort(0xBF, 0x14, 0x01);
                return false;
            } catch (const EmidioutputError&) {
                return true;
            }
        }, 10s));
        const std::vector<DeviceInfo> left = backend.Outputs();
        ASSERT_EQ(left.size(), 1u);
        EXPECT_EQ(left[0].name, kEmulatedRackName);
        output.Close();
        input.Close();
        const std::uint8_t module = signal == SIGTERM ? 2 : 5;
        output.SetProductName(kEmulatedRackName);
        ASSERT_TRUE(output.Open());
        output.SendShort(0xBF, 0x14, module);
        EXPECT_TRUE(rack.WaitIdle(5s));
        EXPECT_EQ(rack.SelectedModule(), std::optional<std::size_t>(module));
        for (int reopen = 0; reopen < 3; ++reopen) {  // nothing touches the dead server's clients
            output.Close();
            output.SetTechnology(kTechnologyMidiPort);
            ASSERT_TRUE(output.Open());
        }

        // The next list finds the server that came back, and our names are kept.
        ASSERT_TRUE(server.Start()) << "jackd did not come back";
        peer = std::make_unique<JackPeer>(tag);
        ASSERT_TRUE(WaitFor([&] { return Lists(backend.Outputs(), peerIn); }, 10s));
        output.Close();
        output.SetProductName(peerIn);
        ASSERT_TRUE(output.Open());
        input.SetProductName(peerOut);
        ASSERT_TRUE(input.Open());
        input.Start();
        ASSERT_TRUE(PingThrough(output, *peer));
        ASSERT_TRUE(PingBack(*peer, input));
        expectStableNames();
    }
    input.Close();
    output.Close();
    peer.reset();
}

}  // namespace
}  // namespace midi
