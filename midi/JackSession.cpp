#include "midi/JackSession.h"

#include <jack/jack.h>

namespace midi {

namespace {
void Discard(const char*) {}
}  // namespace

void JackSession::SilenceLibraryMessages() {
    jack_set_error_function(Discard);
    jack_set_info_function(Discard);
}

std::shared_ptr<JackSession> JackSession::Connect(const std::string& clientName) {
    SilenceLibraryMessages();
    jack_status_t status{};
    jack_client_t* client = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (!client) return nullptr;
    std::shared_ptr<JackSession> session(new JackSession(client));
    jack_on_shutdown(client, &JackSession::OnShutdown, session.get());
    jack_set_buffer_size_callback(client, &JackSession::OnBufferSize, session.get());
    if (jack_activate(client) != 0) return nullptr;
    return session;
}

JackSession::JackSession(jack_client_t* client) : client_(client) {
    periodFrames_ = jack_get_buffer_size(client);
    sampleRate_ = jack_get_sample_rate(client);
    if (sampleRate_ == 0) sampleRate_ = 48000;
}

JackSession::~JackSession() {
    if (Alive()) jack_deactivate(client_);
    jack_client_close(client_);
}

void JackSession::OnShutdown(void* self) {
    static_cast<JackSession*>(self)->alive_.store(false, std::memory_order_release);
}

int JackSession::OnBufferSize(unsigned frames, void* self) {
    static_cast<JackSession*>(self)->periodFrames_.store(frames, std::memory_order_release);
    return 0;
}

double JackSession::PeriodSeconds() const {
    return static_cast<double>(periodFrames_.load(std::memory_order_acquire)) / sampleRate_;
}

bool JackSession::IsPhysicalPort(const std::string& fullName) const {
    if (!Alive()) return false;
    jack_port_t* port = jack_port_by_name(client_, fullName.c_str());
    return port && (jack_port_flags(port) & JackPortIsPhysical);
}

}  // namespace midi
