#include "platform/qt/adhan_player.h"

#include <fcntl.h>
#include <gst/audio/streamvolume.h>
#include <gst/gst.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/app_id.h"

namespace orvano {

namespace {

constexpr int kPollMs = 200;

GstElement* Pipeline(void* pipeline) {
    return static_cast<GstElement*>(pipeline);
}

std::string TakeError(GError* error) {
    std::string text = error != nullptr && error->message != nullptr ? error->message : "";
    if (error != nullptr) g_error_free(error);
    return text;
}

// Asked of the sound server by name where it is there, so that the mixer
// lists the stream under the program's name and icon.
GstElement* ServerSink() {
    GstElement* sink = gst_element_factory_make("pulsesink", nullptr);
    if (sink == nullptr) return nullptr;
    GstStructure* props = gst_structure_new("props", "application.name", G_TYPE_STRING, "Orvano",
                                            "application.icon_name", G_TYPE_STRING, kAppId,
                                            "media.role", G_TYPE_STRING, "music", nullptr);
    g_object_set(sink, "client-name", "Orvano", "stream-properties", props, nullptr);
    gst_structure_free(props);
    return sink;
}

}  // namespace

std::string UnreadableReason(const std::string& file) {
    // Opened without blocking: a FIFO named by mistake must not hang the strip.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular ? "" : "not a regular file";
}

AdhanPlayer::AdhanPlayer(Failed failed, std::function<void()> ended)
    : failed_(std::move(failed)), ended_(std::move(ended)) {
    poll_.setInterval(kPollMs);
    QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
}

AdhanPlayer::~AdhanPlayer() {
    Stop();
}

void AdhanPlayer::Fail(const std::string& file, const std::string& reason) {
    Stop();
    if (failed_) failed_(file, reason);
}

void AdhanPlayer::Play(const std::string& file, int volume) {
    Stop();
    if (const std::string why = UnreadableReason(file); !why.empty()) return Fail(file, why);
    GError* error = nullptr;
    if (!gst_init_check(nullptr, nullptr, &error)) return Fail(file, TakeError(error));
    GstElement* playbin = gst_element_factory_make("playbin", "adhan");
    if (playbin == nullptr) return Fail(file, "GStreamer has no playbin");
    gchar* uri = gst_filename_to_uri(file.c_str(), &error);
    if (uri == nullptr) {
        gst_object_unref(playbin);
        return Fail(file, TakeError(error));
    }
    const double level = gst_stream_volume_convert_volume(GST_STREAM_VOLUME_FORMAT_CUBIC,
                                                          GST_STREAM_VOLUME_FORMAT_LINEAR,
                                                          std::clamp(volume, 0, 100) / 100.0);
    g_object_set(playbin, "uri", uri, "volume", level, nullptr);
    g_free(uri);
    if (GstElement* sink = ServerSink()) g_object_set(playbin, "audio-sink", sink, nullptr);
    pipeline_ = playbin;
    file_ = file;
    if (gst_element_set_state(playbin, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        // The bus says why.
        Poll();
        if (pipeline_ != nullptr) Fail(file, "it cannot be played");
        return;
    }
    poll_.start();
}

void AdhanPlayer::Stop() {
    poll_.stop();
    if (pipeline_ == nullptr) return;
    GstElement* pipeline = Pipeline(pipeline_);
    pipeline_ = nullptr;
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
}

void AdhanPlayer::Poll() {
    if (pipeline_ == nullptr) return;
    GstBus* bus = gst_element_get_bus(Pipeline(pipeline_));
    const auto kinds = static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR);
    GstMessage* message = gst_bus_pop_filtered(bus, kinds);
    gst_object_unref(bus);
    if (message == nullptr) return;
    const bool ended = GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    std::string reason;
    if (!ended) {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        reason = TakeError(error);
    }
    gst_message_unref(message);
    if (!ended) return Fail(file_, reason);
    Stop();
    if (ended_) ended_();
}

}  // namespace orvano
