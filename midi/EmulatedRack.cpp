#include "midi/EmulatedRack.h"

#include <algorithm>
#include <bitset>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "midi/SysexMessages.h"

namespace midi {
namespace {

using core::Byte;
using Clock = std::chrono::steady_clock;
using Message = std::vector<Byte>;

// The rack runs for the whole session in the program: the log keeps the latest messages only.
constexpr std::size_t kLogLimit = 10000;

struct Module {
    BankBytes voices{};
    BankBytes functions{};
    core::EditImage edit{};
    int channel = 1;
    bool protect = true;
    bool omni = false;
    Byte battery = EmulatedRack::kDefaultBattery;
    bool silent = false;
    bool corruptChecksum = false;
    std::bitset<128> answered = std::bitset<128>().set();  // the request formats it answers
    Byte operators = 0x3F;  // the operator on/off switches (voice parameter 155)
};

// A message on one of the wires, handled once its last byte is through.
struct Timed {
    Clock::time_point due;
    Message bytes;
};

// One open input stream as the delivery side sees it.
struct InputRecord {
    InputHandler* handler;
    bool started = false;
    Clock::time_point start{};
};

}  // namespace

class EmulatedRack::Impl {
public:
    Impl() {
        for (std::size_t m = 0; m < kModuleCount; ++m) {
            Module& module = modules_[m];
            module.channel = int(m) + 1;
            module.voices = GeneratedVoiceBank(m);
            module.functions = GeneratedFunctionBank(m);
            core::InitEditImage(module.edit);
            core::UnpackVoice(std::span<const Byte, core::kPackedVoiceSize>(module.voices.data(),
                                                                            core::kPackedVoiceSize),
                              std::span<Byte, core::kUnpackedVoiceSize>(module.edit.data(),
                                                                        core::kUnpackedVoiceSize));
            core::UnpackFunction(
                std::span<const Byte, core::kPackedFunctionSize>(module.functions.data(),
                                                                  core::kPackedFunctionSize),
                std::span<Byte, core::kUnpackedFunctionSize>(module.edit.data() + core::kUnpackedVoiceSize,
                                                             core::kUnpackedFunctionSize));
        }
        std::array<core::EditImage, kModuleCount> images{};
        for (std::size_t m = 0; m < kModuleCount; ++m) {
            images[m] = modules_[m].edit;
            sound_.SetChannel(m, modules_[m].channel, false);
        }
        sound_.Restart(48000.0, images);
        worker_ = std::thread([this] { Run(); });
    }

    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        if (worker_.joinable()) worker_.join();
    }

    // --- the rack's input wire ---------------------------------------------------------------
    void Receive(std::span<const Byte> bytes) {
        {
            std::lock_guard lock(mutex_);
            Clock::time_point due = std::max(Clock::now(), lastIncomingDue_);
            if (wireSpeed_) {
                due = std::max(due, inputWireFree_) + kWireByteTime * bytes.size();
                inputWireFree_ = due;
            }
            lastIncomingDue_ = due;
            incoming_.push_back({due, Message(bytes.begin(), bytes.end())});
        }
        wake_.notify_all();
    }

    // --- input streams -----------------------------------------------------------------------
    std::shared_ptr<InputRecord> AddInput(InputHandler& handler) {
        auto record = std::make_shared<InputRecord>(InputRecord{&handler, false, {}});
        std::lock_guard lock(deliveryMutex_);
        inputs_.push_back(record);
        return record;
    }
    void StartInput(InputRecord& record) {
        std::lock_guard lock(deliveryMutex_);
        record.started = true;
        record.start = Clock::now();
    }
    // Recursive lock: a handler may close its own stream from inside a delivery; the list is
    // then tidied when the delivery ends.
    void RemoveInput(const std::shared_ptr<InputRecord>& record) {
        std::lock_guard lock(deliveryMutex_);
        record->handler = nullptr;
        if (!delivering_) std::erase(inputs_, record);
    }

    // --- set-up and knobs --------------------------------------------------------------------
    template <typename F>
    auto WithModule(std::size_t module, F f) {
        std::lock_guard lock(mutex_);
        return f(modules_.at(module));
    }
    template <typename F>
    auto Locked(F f) {
        std::lock_guard lock(mutex_);
        return f();
    }
    template <typename F>
    auto Locked(F f) const {
        std::lock_guard lock(mutex_);
        return f();
    }

    RackSound& Sound() { return sound_; }
    void RestartSound(double sampleRate) {
        std::lock_guard lock(mutex_);
        std::array<core::EditImage, kModuleCount> images{};
        for (std::size_t m = 0; m < kModuleCount; ++m) {
            images[m] = modules_[m].edit;
            sound_.SetChannel(m, modules_[m].channel, modules_[m].omni);
        }
        // Under the lock: no image posted by the worker can be older than these.
        sound_.Restart(sampleRate, images);
        for (std::size_t m = 0; m < kModuleCount; ++m) sound_.PostOperatorSwitches(m, modules_[m].operators);
    }
    void HearChannel(std::size_t m) {
        sound_.SetChannel(m, modules_[m].channel, modules_[m].omni);
    }

    void SetPatchBayChannel(int channel) { Locked([&] { patchBayChannel_ = channel; }); }
    void SetReplyDelay(std::chrono::milliseconds delay) { Locked([&] { replyDelay_ = delay; }); }
    void SetWireSpeed(bool on) { Locked([&] { wireSpeed_ = on; }); }
    void SetPieceSize(std::size_t bytes) { Locked([&] { pieceSize_ = bytes; }); }
    std::optional<std::size_t> SelectedModule() const { return Locked([&] { return selected_; }); }
    std::vector<Message> Log() const { return Locked([&] { return log_; }); }
    void ClearLog() { Locked([&] { log_.clear(); }); }

    void SendUnsolicitedBankDump(std::size_t module) {
        {
            std::lock_guard lock(mutex_);
            const Module& m = modules_.at(module);
            QueueReply(module, BuildSysex(MakeSysexHeader(kFormatVoiceBank, ChannelNibble(m.channel),
                                                          m.voices.size()),
                                          m.voices),
                       Clock::now());
        }
        wake_.notify_all();
    }

    bool WaitIdle(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return idle_.wait_for(lock, timeout,
                              [&] { return incoming_.empty() && outgoing_.empty() && !busy_; });
    }

private:
    // --- the worker --------------------------------------------------------------------------
    void Run() {
        std::unique_lock lock(mutex_);
        while (!stopping_) {
            const auto now = Clock::now();
            if (!incoming_.empty() && incoming_.front().due <= now) {
                Timed message = std::move(incoming_.front());
                incoming_.pop_front();
                TakeIn(message.bytes, std::max(now, message.due));
                continue;
            }
            if (!outgoing_.empty() && outgoing_.front().due <= now) {
                Timed reply = std::move(outgoing_.front());
                outgoing_.pop_front();
                busy_ = true;
                lock.unlock();
                Deliver(reply.bytes);
                lock.lock();
                busy_ = false;
                continue;
            }
            if (incoming_.empty() && outgoing_.empty()) idle_.notify_all();
            auto next = Clock::time_point::max();
            if (!incoming_.empty()) next = std::min(next, incoming_.front().due);
            if (!outgoing_.empty()) next = std::min(next, outgoing_.front().due);
            if (next == Clock::time_point::max()) {
                wake_.wait(lock);
            } else {
                wake_.wait_until(lock, next);
            }
        }
    }

    // The MIDI thread's call of the handlers: no allocation here. A handler may open or close
    // streams while being called, so the list is walked by position and only tidied after.
    void Deliver(const Message& bytes) {
        std::lock_guard lock(deliveryMutex_);
        const auto now = Clock::now();
        delivering_ = true;
        for (std::size_t i = 0; i < inputs_.size(); ++i) {
            const InputRecord& input = *inputs_[i];
            if (!input.handler || !input.started) continue;
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now - input.start);
            input.handler->OnMidiData(bytes, std::uint32_t(ms.count()));
        }
        delivering_ = false;
        std::erase_if(inputs_, [](const auto& input) { return input->handler == nullptr; });
    }

    // Called with the state locked, on the worker.
    void TakeIn(const Message& bytes, Clock::time_point arrived) {
        if (log_.size() == kLogLimit) log_.erase(log_.begin());
        log_.push_back(bytes);
        if (bytes.empty()) return;
        const Byte status = bytes[0];
        if (status == kSysexStart) {
            TakeInSysex(bytes, arrived);
        } else if ((status & 0xF0) == kControlChange && bytes.size() >= 3 &&
                   (status & 0x0F) == ChannelNibble(patchBayChannel_) &&
                   bytes[1] == kModuleSelectController && bytes[2] < kModuleCount) {
            selected_ = bytes[2];
        } else if ((status & 0xF0) == kProgramChange && bytes.size() >= 2) {
            TakeProgram(status & 0x0F, bytes[1]);
        } else if (status >= 0x80 && status < 0xF0) {
            sound_.PostChannelMessage(bytes);
        }
    }

    // A memory 1-32 (program 0-31) becomes the edit buffer's voice, with its function record.
    void TakeProgram(int nibble, Byte program) {
        if (program >= core::kSlotsPerPage) return;
        for (std::size_t m = 0; m < kModuleCount; ++m) {
            Module& module = modules_[m];
            if (!module.omni && ChannelNibble(module.channel) != nibble) continue;
            core::UnpackVoice(std::span<const Byte, core::kPackedVoiceSize>(
                                  module.voices.data() + program * core::kPackedVoiceSize, core::kPackedVoiceSize),
                              std::span<Byte, core::kUnpackedVoiceSize>(module.edit.data(), core::kUnpackedVoiceSize));
            core::UnpackFunction(std::span<const Byte, core::kPackedFunctionSize>(
                                     module.functions.data() + program * core::kPackedFunctionSize,
                                     core::kPackedFunctionSize),
                                 std::span<Byte, core::kUnpackedFunctionSize>(module.edit.data() + core::kUnpackedVoiceSize,
                                                                              core::kUnpackedFunctionSize));
            sound_.PostImage(m, module.edit);
        }
    }

    void TakeInSysex(const Message& bytes, Clock::time_point arrived) {
        if (bytes.size() < kDumpRequestSize || bytes[1] != kYamahaId) return;
        const Byte subStatus = bytes[2] & 0xF0;
        const Byte nibble = bytes[2] & 0x0F;
        for (std::size_t m = 0; m < kModuleCount; ++m) {
            Module& module = modules_[m];
            if (!module.omni && ChannelNibble(module.channel) != nibble) continue;
            if (subStatus == kSubStatusDumpRequest && bytes.size() == kDumpRequestSize) {
                Answer(m, bytes[3], arrived);
            } else if (subStatus == kSubStatusParameterChange && bytes.size() == kParameterChangeSize) {
                const Byte switches = module.operators;
                TakeParameter(module, bytes[3], bytes[4], bytes[5]);
                if (module.operators != switches) sound_.PostOperatorSwitches(m, module.operators);
                sound_.PostImage(m, module.edit);
            } else if (subStatus == kSubStatusBulkData) {
                TakeBulk(module, bytes);
                sound_.PostImage(m, module.edit);
            }
        }
    }

    void Answer(std::size_t m, Byte format, Clock::time_point arrived) {
        const Module& module = modules_[m];
        if (module.silent || !module.answered.test(format & 0x7F)) return;
        const Byte n = ChannelNibble(module.channel);
        const auto voiceOfEdit = std::span<const Byte>(module.edit.data(), core::kUnpackedVoiceSize);
        const auto functionOfEdit =
            std::span<const Byte>(module.edit.data() + core::kUnpackedVoiceSize, core::kUnpackedFunctionSize);
        std::span<const Byte> data;
        std::array<Byte, kSystemInfoSize> info{};
        switch (format) {
            case kFormatVoiceBank: data = module.voices; break;
            case kFormatFunctions: data = module.functions; break;
            case kFormatSingleVoice: data = voiceOfEdit; break;
            case kFormatSingleFunctionTx816: data = functionOfEdit; break;
            case kFormatSystemInfo:
                // Ten characters, blank-padded, no terminator.
                std::fill_n(info.begin() + kSystemInfoModelOffset, kSystemInfoModelSize, Byte(' '));
                std::copy_n(kModel, sizeof kModel - 1, info.begin() + kSystemInfoModelOffset);
                info[kSystemInfoRevisionMajor] = kRevisionMajor;
                info[kSystemInfoRevisionMinor] = kRevisionMinor;
                info[kSystemInfoFlags] = module.omni ? kSystemInfoOmniFlag : 0;
                info[kSystemInfoChannel] = n;
                info[kSystemInfoBattery] = module.battery;
                data = info;
                break;
            default: return;  // no such dump
        }
        QueueReply(m, BuildSysex(MakeSysexHeader(format, n, data.size()), data),
                   arrived + replyDelay_);
    }

    // Called with the state locked. Only the routed module's output passes the patch bay.
    void QueueReply(std::size_t m, Message message, Clock::time_point ready) {
        if (selected_ && *selected_ != m) return;
        if (modules_[m].corruptChecksum) message[message.size() - 2] ^= 0x01;
        ready = std::max(ready, lastOutgoingDue_);
        if (wireSpeed_) ready = std::max(ready, outputWireFree_);
        const std::size_t piece = pieceSize_ == 0 ? message.size() : pieceSize_;
        for (std::size_t at = 0; at < message.size(); at += piece) {
            const std::size_t length = std::min(piece, message.size() - at);
            if (wireSpeed_) ready += kWireByteTime * length;
            outgoing_.push_back({ready, Message(message.begin() + at, message.begin() + at + length)});
        }
        lastOutgoingDue_ = ready;
        if (wireSpeed_) outputWireFree_ = ready;
    }

    static void TakeParameter(Module& module, Byte group, Byte parameter, Byte value) {
        if (group == kGroupMemoryProtect && parameter == kMemoryProtectParameter) {
            module.protect = value != kMemoryProtectOff;
        } else if (group == kGroupVoice || group == kGroupVoiceHigh) {
            const std::size_t p = parameter + (group == kGroupVoiceHigh ? 128u : 0u);
            // 155 switches operators on and off, which the edit image does not hold.
            if (p < core::kUnpackedVoiceSize) {
                module.edit[p] = value;
            } else if (p == core::kUnpackedVoiceSize) {
                module.operators = value & 0x3F;
            }
        } else if (group == kGroupPerformance && parameter < kPerformanceParameters.size()) {
            const auto [functionByte, mask] = kPerformanceParameters[parameter];
            Byte& target = module.edit[core::kUnpackedVoiceSize + functionByte];
            if (mask == 0) {
                target = value;
            } else {
                target = value ? Byte(target | mask) : Byte(target & ~mask);
            }
        }
    }

    // A bulk message is taken only when its byte count, its length and its checksum agree.
    static void TakeBulk(Module& module, const Message& bytes) {
        if (bytes.size() < kSysexFrameSize) return;
        const std::size_t count = std::size_t(bytes[4]) * 128 + bytes[5];
        if (bytes.size() != count + kSysexFrameSize || bytes.back() != kSysexEnd) return;
        const Byte* data = bytes.data() + kSysexHeaderSize;
        if (core::BankChecksum(data, std::ptrdiff_t(count)) != bytes[bytes.size() - 2]) return;
        const Byte format = bytes[3];
        if (count == kMaxSysexData && (format == kFormatVoiceBank || format == kFormatFunctions)) {
            if (module.protect) return;
            BankBytes& target = format == kFormatVoiceBank ? module.voices : module.functions;
            std::copy_n(data, count, target.begin());
        } else if (count == core::kUnpackedVoiceSize && format == kFormatSingleVoice) {
            std::copy_n(data, count, module.edit.begin());
        } else if (count == core::kUnpackedFunctionSize &&
                   (format == kFormatSingleFunctionTx816 || format == kFormatFunctions)) {
            std::copy_n(data, count, module.edit.begin() + core::kUnpackedVoiceSize);
        }
    }

    RackSound sound_;           // thread-safe on its own
    mutable std::mutex mutex_;  // everything below but the input list
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::array<Module, kModuleCount> modules_{};
    int patchBayChannel_ = 16;
    std::optional<std::size_t> selected_;
    std::chrono::milliseconds replyDelay_{0};
    bool wireSpeed_ = false;
    std::size_t pieceSize_ = 0;
    std::deque<Timed> incoming_;
    std::deque<Timed> outgoing_;
    Clock::time_point lastIncomingDue_{};
    Clock::time_point lastOutgoingDue_{};
    Clock::time_point inputWireFree_{};
    Clock::time_point outputWireFree_{};
    std::vector<Message> log_;
    bool busy_ = false;  // a reply is being delivered
    bool stopping_ = false;

    std::recursive_mutex deliveryMutex_;  // the input list; held while handlers are called
    std::vector<std::shared_ptr<InputRecord>> inputs_;
    bool delivering_ = false;

    std::thread worker_;
};

namespace {

class RackInputStream final : public InputStream {
public:
    RackInputStream(std::shared_ptr<EmulatedRack::Impl> rack, InputHandler& handler)
        : rack_(std::move(rack)), record_(rack_->AddInput(handler)) {}
    ~RackInputStream() override { rack_->RemoveInput(record_); }
    void Start() override { rack_->StartInput(*record_); }

private:
    std::shared_ptr<EmulatedRack::Impl> rack_;
    std::shared_ptr<InputRecord> record_;
};

class RackOutputStream final : public OutputStream {
public:
    explicit RackOutputStream(std::shared_ptr<EmulatedRack::Impl> rack) : rack_(std::move(rack)) {}
    bool Send(std::span<const Byte> bytes) override {
        if (bytes.empty()) return false;
        rack_->Receive(bytes);
        return true;
    }

private:
    std::shared_ptr<EmulatedRack::Impl> rack_;
};

}  // namespace

EmulatedRack::EmulatedRack() : impl_(std::make_shared<Impl>()) {}

// Streams may outlive the rack (they share its state); they then talk to a stopped rack.
EmulatedRack::~EmulatedRack() { impl_->Stop(); }

std::vector<DeviceInfo> EmulatedRack::Inputs() { return {{kEmulatedRackName, kTechnologyMidiPort}}; }
std::vector<DeviceInfo> EmulatedRack::Outputs() { return {{kEmulatedRackName, kTechnologyMidiPort}}; }

std::unique_ptr<InputStream> EmulatedRack::OpenInput(std::size_t index, InputHandler& handler) {
    if (index != 0) return nullptr;
    return std::make_unique<RackInputStream>(impl_, handler);
}

std::unique_ptr<OutputStream> EmulatedRack::OpenOutput(std::size_t index) {
    if (index != 0) return nullptr;
    return std::make_unique<RackOutputStream>(impl_);
}

KeyboardThru* EmulatedRack::KeyboardThruFor(std::size_t outputIndex) {
    return outputIndex == 0 ? this : nullptr;
}
RackSound& EmulatedRack::Modules() { return impl_->Sound(); }
void EmulatedRack::RenderAudio(float* left, float* right, std::size_t frames) {
    impl_->Sound().Render(left, right, frames);
}
void EmulatedRack::RestartSound(double sampleRate) { impl_->RestartSound(sampleRate); }
void EmulatedRack::PlayChannelMessage(std::span<const std::uint8_t> bytes) {
    if (!bytes.empty() && bytes[0] >= 0x80 && bytes[0] < 0xF0 && (bytes[0] & 0xF0) != kProgramChange)
        impl_->Sound().PostKeyboardMessage(bytes);
}

void EmulatedRack::SetModuleChannel(std::size_t module, int channel) {
    impl_->WithModule(module, [&](Module& m) { m.channel = channel; });
    impl_->Locked([&] { impl_->HearChannel(module); });
}
void EmulatedRack::SetPatchBayChannel(int channel) { impl_->SetPatchBayChannel(channel); }
void EmulatedRack::SetOmni(std::size_t module, bool on) {
    impl_->WithModule(module, [&](Module& m) { m.omni = on; });
    impl_->Locked([&] { impl_->HearChannel(module); });
}
void EmulatedRack::SetBattery(std::size_t module, Byte tenthsOfVolt) {
    impl_->WithModule(module, [&](Module& m) { m.battery = tenthsOfVolt; });
}
void EmulatedRack::LoadVoiceBank(std::size_t module,
                                 std::span<const Byte, core::kBankImageSize> bank) {
    impl_->WithModule(module, [&](Module& m) { std::copy(bank.begin(), bank.end(), m.voices.begin()); });
}

void EmulatedRack::SetReplyDelay(std::chrono::milliseconds delay) { impl_->SetReplyDelay(delay); }
void EmulatedRack::SetWireSpeed(bool on) { impl_->SetWireSpeed(on); }
void EmulatedRack::SetSilent(std::size_t module, bool silent) {
    impl_->WithModule(module, [&](Module& m) { m.silent = silent; });
}
void EmulatedRack::SetCorruptChecksum(std::size_t module, bool corrupt) {
    impl_->WithModule(module, [&](Module& m) { m.corruptChecksum = corrupt; });
}
void EmulatedRack::SetAnsweredFormats(std::size_t module, std::initializer_list<core::Byte> formats) {
    std::bitset<128> answered;
    for (const core::Byte format : formats) answered.set(format & 0x7F);
    impl_->WithModule(module, [&](Module& m) { m.answered = answered; });
}
void EmulatedRack::SetPieceSize(std::size_t bytes) { impl_->SetPieceSize(bytes); }
void EmulatedRack::SendUnsolicitedBankDump(std::size_t module) { impl_->SendUnsolicitedBankDump(module); }
bool EmulatedRack::WaitIdle(std::chrono::milliseconds timeout) { return impl_->WaitIdle(timeout); }

std::vector<std::vector<Byte>> EmulatedRack::ReceivedMessages() const { return impl_->Log(); }
void EmulatedRack::ClearReceivedMessages() { impl_->ClearLog(); }

BankBytes EmulatedRack::VoiceBank(std::size_t module) const {
    return impl_->WithModule(module, [](Module& m) { return m.voices; });
}
BankBytes EmulatedRack::FunctionBank(std::size_t module) const {
    return impl_->WithModule(module, [](Module& m) { return m.functions; });
}
core::EditImage EmulatedRack::EditBuffer(std::size_t module) const {
    return impl_->WithModule(module, [](Module& m) { return m.edit; });
}
bool EmulatedRack::MemoryProtected(std::size_t module) const {
    return impl_->WithModule(module, [](Module& m) { return m.protect; });
}
std::optional<std::size_t> EmulatedRack::SelectedModule() const { return impl_->SelectedModule(); }

}  // namespace midi
