#include "platform/qt/sound_canberra.h"

#include <canberra.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace orvano {

struct CanberraSounds::Context {
    ca_context* ca = nullptr;
    std::mutex lock;
    std::condition_variable ended;
    bool done = false;
};

namespace {

void OnFinished(ca_context*, std::uint32_t, int, void* user) {
    auto* context = static_cast<CanberraSounds::Context*>(user);
    std::lock_guard<std::mutex> guard(context->lock);
    context->done = true;
    context->ended.notify_all();
}

}  // namespace

std::string SoundThemeEvent(const std::string& name) {
    if (name == "SystemStart") return "service-login";
    if (name == "Notify") return "message-new-instant";
    return {};
}

CanberraSounds::CanberraSounds() : context_(new Context) {
    if (ca_context_create(&context_->ca) != CA_SUCCESS) {
        context_->ca = nullptr;
        return;
    }
    ca_context_change_props(context_->ca, CA_PROP_APPLICATION_NAME, "Orvano", nullptr);
    // No sound device: stay silent rather than fail every time.
    if (ca_context_open(context_->ca) != CA_SUCCESS) {
        ca_context_destroy(context_->ca);
        context_->ca = nullptr;
    }
}

CanberraSounds::~CanberraSounds() {
    if (context_->ca != nullptr) ca_context_destroy(context_->ca);
    delete context_;
}

void CanberraSounds::PlayNamed(const std::string& name) {
    const std::string event = SoundThemeEvent(name);
    if (context_->ca == nullptr || event.empty()) return;
    ca_proplist* props = nullptr;
    if (ca_proplist_create(&props) != CA_SUCCESS) return;
    ca_proplist_sets(props, CA_PROP_EVENT_ID, event.c_str());
    {
        std::lock_guard<std::mutex> guard(context_->lock);
        context_->done = false;
    }
    const int played = ca_context_play_full(context_->ca, 1, props, OnFinished, context_);
    ca_proplist_destroy(props);
    if (played != CA_SUCCESS) return;
    // Played to its end; a theme sound lasts a few seconds at most, so a
    // sound server that never answers cannot hold the strip for long.
    std::unique_lock<std::mutex> wait(context_->lock);
    context_->ended.wait_for(wait, std::chrono::seconds(10), [this] { return context_->done; });
}

}  // namespace orvano
