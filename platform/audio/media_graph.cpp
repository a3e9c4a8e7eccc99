// Media graphs over GStreamer: filesrc ! decodebin, each decoded audio pad
// linked to "audioconvert ! audioresample ! <sink>". The bus keeps only the
// messages the owner needs (end of stream, errors, async-done); its sync
// handler wakes the owner.
#include "platform/audio/media_graph.h"

#include <gst/gst.h>

#include <atomic>
#include <deque>
#include <mutex>

namespace platform::media {

namespace {

std::once_flag g_initOnce;
bool g_initialized = false;
std::string g_initError;

}  // namespace

bool initialize(std::string* error) {
    std::call_once(g_initOnce, [] {
        GError* err = nullptr;
        g_initialized = gst_init_check(nullptr, nullptr, &err);
        if (!g_initialized) g_initError = err && err->message ? err->message : "GStreamer did not start";
        if (err) g_error_free(err);
    });
    if (!g_initialized && error) *error = g_initError;
    return g_initialized;
}

struct MediaGraph::Impl {
    GstElement* pipeline = nullptr;
    GstElement* sinkBin = nullptr;
    GstBus* bus = nullptr;
    std::string soundFont;
    bool audioLinked = false;  // guarded by the streaming threads' order (pad-added runs before no-more-pads)
    std::atomic<bool> opened{false};  // from here events go to `events`, not to the bus
    std::mutex notifyMutex;
    std::function<void()> notify;
    std::deque<std::pair<GraphEvent, std::string>> events;

    ~Impl() {
        if (pipeline) gst_element_set_state(pipeline, GST_STATE_NULL);
        if (bus) {
            gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
            gst_object_unref(bus);
        }
        if (pipeline) gst_object_unref(pipeline);
    }
};

namespace {

std::string errorText(GstMessage* msg) {
    GError* err = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(msg, &err, &debug);
    std::string text = err && err->message ? err->message : "unknown error";
    if (err) g_error_free(err);
    g_free(debug);
    return text;
}

// Runs on the thread that posts the message. While the graph opens, errors
// and async-done stay on the bus for open() to wait on; afterwards end of
// stream and errors are queued for the owner, who is woken, and everything
// else is dropped.
GstBusSyncReply onBusMessage(GstBus*, GstMessage* msg, gpointer data) {
    auto* impl = static_cast<MediaGraph::Impl*>(data);
    const GstMessageType type = GST_MESSAGE_TYPE(msg);
    if (!impl->opened.load()) {
        if (type == GST_MESSAGE_ERROR || type == GST_MESSAGE_ASYNC_DONE) return GST_BUS_PASS;
    } else if (type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR) {
        std::lock_guard<std::mutex> lock(impl->notifyMutex);
        if (type == GST_MESSAGE_EOS)
            impl->events.emplace_back(GraphEvent::EndOfStream, std::string());
        else
            impl->events.emplace_back(GraphEvent::Error, errorText(msg));
        if (impl->notify) impl->notify();
    }
    gst_message_unref(msg);  // a dropped message is the handler's to release
    return GST_BUS_DROP;
}

void onElementAdded(GstBin*, GstBin*, GstElement* element, gpointer data) {
    auto* impl = static_cast<MediaGraph::Impl*>(data);
    GstElementFactory* factory = gst_element_get_factory(element);
    if (!factory || impl->soundFont.empty()) return;
    if (g_strcmp0(GST_OBJECT_NAME(factory), "fluiddec") == 0)
        g_object_set(element, "soundfont", impl->soundFont.c_str(), nullptr);
}

void postError(GstElement* pipeline, const char* text) {
    GError* err = g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE, text);
    gst_element_post_message(pipeline, gst_message_new_error(GST_OBJECT(pipeline), err, text));
    g_error_free(err);
}

void onPadAdded(GstElement*, GstPad* pad, gpointer data) {
    auto* impl = static_cast<MediaGraph::Impl*>(data);
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (!caps) caps = gst_pad_query_caps(pad, nullptr);
    bool audio = false;
    if (caps && gst_caps_get_size(caps) > 0) {
        const gchar* name = gst_structure_get_name(gst_caps_get_structure(caps, 0));
        audio = g_str_has_prefix(name, "audio/");
    }
    if (caps) gst_caps_unref(caps);

    GstPad* target = nullptr;
    if (audio && !impl->audioLinked) {
        target = gst_element_get_static_pad(impl->sinkBin, "sink");
        impl->audioLinked = true;
    } else {
        // Streams beyond the first audio one are discarded.
        GstElement* sink = gst_element_factory_make("fakesink", nullptr);
        if (!sink) return;
        gst_bin_add(GST_BIN(impl->pipeline), sink);
        gst_element_sync_state_with_parent(sink);
        target = gst_element_get_static_pad(sink, "sink");
    }
    if (target) {
        if (gst_pad_link(pad, target) != GST_PAD_LINK_OK) postError(impl->pipeline, "cannot link the decoded stream");
        gst_object_unref(target);
    }
}

void onNoMorePads(GstElement*, gpointer data) {
    auto* impl = static_cast<MediaGraph::Impl*>(data);
    if (!impl->audioLinked) postError(impl->pipeline, "the file holds no audio stream");
}

}  // namespace

std::unique_ptr<MediaGraph> MediaGraph::open(const std::string& path, const GraphOptions& options,
                                             std::string* error) {
    auto fail = [error](const std::string& why) -> std::unique_ptr<MediaGraph> {
        if (error) *error = why;
        return nullptr;
    };
    std::string why;
    if (!initialize(&why)) return fail(why);
    if (path.empty()) return fail("no file name");
    if (!g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR)) return fail("no such file");

    auto impl = std::make_unique<Impl>();
    impl->soundFont = options.soundFont;
    impl->pipeline = gst_pipeline_new(nullptr);
    GstElement* src = gst_element_factory_make("filesrc", nullptr);
    GstElement* decode = gst_element_factory_make("decodebin", nullptr);
    GError* perr = nullptr;
    const std::string chain = "audioconvert ! audioresample ! " + options.sink;
    impl->sinkBin = gst_parse_bin_from_description(chain.c_str(), TRUE, &perr);
    if (!impl->pipeline || !src || !decode || !impl->sinkBin) {
        std::string text = perr && perr->message ? perr->message : "missing GStreamer elements";
        if (perr) g_error_free(perr);
        if (src) gst_object_unref(src);
        if (decode) gst_object_unref(decode);
        if (impl->sinkBin) gst_object_unref(impl->sinkBin);
        return fail("cannot build the graph: " + text);
    }
    if (perr) g_error_free(perr);  // a warning on a parsed chain that still built

    g_object_set(src, "location", path.c_str(), nullptr);
    gst_bin_add_many(GST_BIN(impl->pipeline), src, decode, impl->sinkBin, nullptr);
    if (!gst_element_link(src, decode)) return fail("cannot link the file source");
    g_signal_connect(impl->pipeline, "deep-element-added", G_CALLBACK(onElementAdded), impl.get());
    g_signal_connect(decode, "pad-added", G_CALLBACK(onPadAdded), impl.get());
    g_signal_connect(decode, "no-more-pads", G_CALLBACK(onNoMorePads), impl.get());

    impl->bus = gst_element_get_bus(impl->pipeline);
    gst_bus_set_sync_handler(impl->bus, onBusMessage, impl.get(), nullptr);

    const GstStateChangeReturn started = gst_element_set_state(impl->pipeline, GST_STATE_PAUSED);
    if (started == GST_STATE_CHANGE_FAILURE) {
        std::string text = "the graph cannot start";
        if (GstMessage* msg = gst_bus_pop_filtered(impl->bus, GST_MESSAGE_ERROR)) {
            text = errorText(msg);
            gst_message_unref(msg);
        }
        return fail(text);
    }
    if (started != GST_STATE_CHANGE_ASYNC) {
        impl->opened = true;
        return std::unique_ptr<MediaGraph>(new MediaGraph(std::move(impl)));
    }
    const GstClockTime timeout = static_cast<GstClockTime>(options.openTimeout.count()) * GST_MSECOND;
    GstMessage* msg = gst_bus_timed_pop_filtered(
        impl->bus, timeout, static_cast<GstMessageType>(GST_MESSAGE_ERROR | GST_MESSAGE_ASYNC_DONE));
    if (msg) {
        const bool failed = GST_MESSAGE_TYPE(msg) == GST_MESSAGE_ERROR;
        std::string text = failed ? errorText(msg) : std::string();
        gst_message_unref(msg);
        if (failed) return fail(text);
    }
    // Ready, or still preparing after the wait (a large sound font on a busy
    // machine): such a graph becomes ready by itself, and a later failure
    // arrives as an event. Errors posted meanwhile become events too.
    impl->opened = true;
    while (GstMessage* left = gst_bus_pop(impl->bus)) {
        if (GST_MESSAGE_TYPE(left) == GST_MESSAGE_ERROR) {
            std::lock_guard<std::mutex> lock(impl->notifyMutex);
            impl->events.emplace_back(GraphEvent::Error, errorText(left));
        }
        gst_message_unref(left);
    }
    return std::unique_ptr<MediaGraph>(new MediaGraph(std::move(impl)));
}

MediaGraph::MediaGraph(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

MediaGraph::~MediaGraph() {
    {
        std::lock_guard<std::mutex> lock(impl_->notifyMutex);
        impl_->notify = nullptr;
    }
    impl_.reset();
}

bool MediaGraph::run() {
    return gst_element_set_state(impl_->pipeline, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
}

bool MediaGraph::pause() {
    return gst_element_set_state(impl_->pipeline, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
}

bool MediaGraph::stop() {
    if (!pause()) return false;
    return seek(0);
}

bool MediaGraph::seek(std::int64_t positionNs, int waitMs) {
    if (positionNs < 0) positionNs = 0;
    const bool ok = gst_element_seek_simple(impl_->pipeline, GST_FORMAT_TIME,
                                            static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                            positionNs);
    if (ok && waitMs > 0)
        gst_element_get_state(impl_->pipeline, nullptr, nullptr, static_cast<GstClockTime>(waitMs) * GST_MSECOND);
    return ok;
}

std::int64_t MediaGraph::durationNs() const {
    gint64 d = -1;
    if (!gst_element_query_duration(impl_->pipeline, GST_FORMAT_TIME, &d)) return -1;
    return d;
}

GraphState MediaGraph::state() const {
    GstState current = GST_STATE_NULL, pending = GST_STATE_VOID_PENDING;
    GstStateChangeReturn r = gst_element_get_state(impl_->pipeline, &current, &pending, 0);
    if (r == GST_STATE_CHANGE_ASYNC) return GraphState::Changing;
    switch (current) {
    case GST_STATE_PLAYING: return GraphState::Running;
    case GST_STATE_PAUSED: return GraphState::Paused;
    default: return GraphState::Stopped;
    }
}

void MediaGraph::setEventNotify(std::function<void()> notify) {
    std::lock_guard<std::mutex> lock(impl_->notifyMutex);
    impl_->notify = std::move(notify);
}

std::vector<GraphEvent> MediaGraph::takeEvents(std::vector<std::string>* errors) {
    std::vector<GraphEvent> out;
    std::lock_guard<std::mutex> lock(impl_->notifyMutex);
    for (auto& [event, text] : impl_->events) {
        out.push_back(event);
        if (event == GraphEvent::Error && errors) errors->push_back(text);
    }
    impl_->events.clear();
    return out;
}

}  // namespace platform::media
