// SPDX-License-Identifier: MIT
#include "backends/portal/portal_screenshots.h"

#include <gio/gio.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "backends/posix/mapped_file.h"
#include "platform/desktop.h"

namespace pelmora {

namespace {
constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
// Larger than any screenshot's PNG; what is larger is not read.
constexpr std::size_t kLargestScreenshotFile = std::size_t{1} << 30;

// How long the portal is given to answer, from PELMORA_PORTAL_TIMEOUT.
std::chrono::seconds AnswerTimeout() {
    const char* setting = std::getenv("PELMORA_PORTAL_TIMEOUT");
    if (!setting) return std::chrono::seconds(30);
    const std::string_view text = setting;
    int seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || seconds < 1 || seconds > 3600)
        throw ScreenRefused("PELMORA_PORTAL_TIMEOUT: wants whole seconds from 1 to 3600, got \"" + std::string(text) +
                            "\"");
    return std::chrono::seconds(seconds);
}

std::string TakenMessage(GError* error) {
    std::string message = error ? error->message : "no reason given";
    g_clear_error(&error);
    return message;
}

// The portal's Response: 0 when the screenshot was taken, with the file's URI.
struct PortalAnswer {
    bool given = false;
    guint32 response = 2;
    std::string uri;
};

void OnResponse(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
                gpointer answerPlace) {
    auto* answer = static_cast<PortalAnswer*>(answerPlace);
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ua{sv})"))) return;
    GVariant* results = nullptr;
    g_variant_get(parameters, "(u@a{sv})", &answer->response, &results);
    const gchar* uri = nullptr;
    if (g_variant_lookup(results, "uri", "&s", &uri)) answer->uri = uri;
    g_variant_unref(results);
    answer->given = true;
}

// The object path the portal gives the request made with token: its Response comes from
// there, and is subscribed to before the call so that it cannot come first.
std::string RequestPath(GDBusConnection* bus, const std::string& token) {
    std::string sender = g_dbus_connection_get_unique_name(bus) + 1;  // without the leading ':'
    for (char& c : sender)
        if (c == '.') c = '_';
    return std::string(kPortalPath) + "/request/" + sender + "/" + token;
}

std::string NoAnswerWithin(std::chrono::seconds timeout) {
    return "the desktop portal gave no screenshot within " + std::to_string(timeout.count()) + " s";
}

std::string CallFailure(GError* error, std::chrono::seconds timeout) {
    if (g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_SERVICE_UNKNOWN) ||
        g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_NAME_HAS_NO_OWNER)) {
        g_clear_error(&error);
        return "no desktop portal answers on the session bus (xdg-desktop-portal and a backend for this desktop "
               "must be installed)";
    }
    if (g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD) ||
        g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_INTERFACE)) {
        g_clear_error(&error);
        return "the desktop portal takes no screenshots on this desktop (no org.freedesktop.portal.Screenshot)";
    }
    if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT)) {
        g_clear_error(&error);
        return NoAnswerWithin(timeout);
    }
    return "the desktop portal failed: " + TakenMessage(error);
}

// The PNG file the portal wrote, mapped and removed.
MappedFile MapScreenshotFile(const std::string& uri) {
    GError* error = nullptr;
    gchar* path = g_filename_from_uri(uri.c_str(), nullptr, &error);
    if (!path) throw ScreenRefused("the desktop portal's screenshot is not a local file: " + TakenMessage(error));
    const std::string file = path;
    g_free(path);
    auto mapped = MappedFile::Open(file, kLargestScreenshotFile);
    std::remove(file.c_str());
    if (auto* failure = std::get_if<std::string>(&mapped))
        throw ScreenRefused("cannot read the desktop portal's screenshot " + file + ": " + *failure);
    return std::move(std::get<MappedFile>(mapped));
}
}  // namespace

struct PortalScreenshots::Bus {
    GDBusConnection* connection = nullptr;
    GMainContext* context = g_main_context_new();
    ~Bus() {
        if (connection) g_object_unref(connection);
        g_main_context_unref(context);
    }
};

PortalScreenshots::PortalScreenshots() : bus_(std::make_unique<Bus>()), answerTimeout_(AnswerTimeout()) {
    // A connection of its own, not GLib's shared one: its signals are delivered to this
    // object's main context alone, whatever else in the process (a Python library) uses GLib.
    GError* error = nullptr;
    gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (address) {
        bus_->connection = g_dbus_connection_new_for_address_sync(
            address,
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, &error);
        g_free(address);
    }
    if (!bus_->connection)
        throw ScreenRefused("cannot reach the session bus, through which the desktop portal gives screenshots: " +
                            TakenMessage(error));
    g_dbus_connection_set_exit_on_close(bus_->connection, FALSE);
}

PortalScreenshots::~PortalScreenshots() = default;

MappedFile PortalScreenshots::Take() {
    GDBusConnection* bus = bus_->connection;
    const std::string token = "pelmora" + std::to_string(getpid()) + "_" + std::to_string(++taken_);
    const std::string requestPath = RequestPath(bus, token);
    const gint64 deadline = g_get_monotonic_time() + std::chrono::microseconds(answerTimeout_).count();

    PortalAnswer answer;
    g_main_context_push_thread_default(bus_->context);
    const guint subscription = g_dbus_connection_signal_subscribe(
        bus, kPortalName, "org.freedesktop.portal.Request", "Response", requestPath.c_str(), nullptr,
        G_DBUS_SIGNAL_FLAGS_NONE, OnResponse, &answer, nullptr);
    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    g_variant_builder_add(&options, "{sv}", "interactive", g_variant_new_boolean(FALSE));
    GError* error = nullptr;
    GVariant* handle = g_dbus_connection_call_sync(
        bus, kPortalName, kPortalPath, "org.freedesktop.portal.Screenshot", "Screenshot",
        g_variant_new("(sa{sv})", "", &options), G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE,
        static_cast<gint>(std::chrono::milliseconds(answerTimeout_).count()), nullptr, &error);
    std::optional<std::string> failure;
    if (!handle) {
        failure = CallFailure(error, answerTimeout_);
    } else {
        g_variant_unref(handle);
        // Runs the context until the Response or the deadline, whichever comes first.
        while (!answer.given) {
            const gint64 left = deadline - g_get_monotonic_time();
            if (left <= 0) break;
            // Only wakes the iteration up: the loop sees the deadline itself.
            GSource* timer = g_timeout_source_new(static_cast<guint>(left / 1000 + 1));
            g_source_set_callback(
                timer, [](gpointer) { return G_SOURCE_REMOVE; }, nullptr, nullptr);
            g_source_attach(timer, bus_->context);
            g_main_context_iteration(bus_->context, TRUE);
            g_source_destroy(timer);
            g_source_unref(timer);
        }
        if (!answer.given) {
            // Takes a dialog the desktop may still show off the screen.
            g_dbus_connection_call(bus, kPortalName, requestPath.c_str(), "org.freedesktop.portal.Request", "Close",
                                   nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr, nullptr);
            g_dbus_connection_flush_sync(bus, nullptr, nullptr);
            failure = NoAnswerWithin(answerTimeout_);
        } else if (answer.response != 0) {
            failure = "the desktop refused the screenshot";
        }
    }
    g_dbus_connection_signal_unsubscribe(bus, subscription);
    g_main_context_pop_thread_default(bus_->context);
    if (failure) throw ScreenRefused(*failure);
    return MapScreenshotFile(answer.uri);
}

}  // namespace pelmora
