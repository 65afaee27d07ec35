#include "backends/mpris_service.h"

#include <gio/gio.h>

#include <memory>
#include <ostream>
#include <string_view>

#include "base/latin1.h"

namespace orvo {

namespace {

constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";
constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr const char* kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";
// Track ids name playlist positions; MPRIS keeps /org/mpris for itself.
constexpr const char* kTrackIdPrefix = "/org/orvo_m/track/";

constexpr const char kIntrospection[] = R"(<node>
  <interface name="org.mpris.MediaPlayer2">
    <method name="Raise"/>
    <method name="Quit"/>
    <property name="CanQuit" type="b" access="read"/>
    <property name="CanRaise" type="b" access="read"/>
    <property name="HasTrackList" type="b" access="read"/>
    <property name="Identity" type="s" access="read"/>
    <property name="DesktopEntry" type="s" access="read"/>
    <property name="SupportedUriSchemes" type="as" access="read"/>
    <property name="SupportedMimeTypes" type="as" access="read"/>
  </interface>
  <interface name="org.mpris.MediaPlayer2.Player">
    <method name="Next"/>
    <method name="Previous"/>
    <method name="Pause"/>
    <method name="PlayPause"/>
    <method name="Stop"/>
    <method name="Play"/>
    <method name="Seek"><arg direction="in" name="Offset" type="x"/></method>
    <method name="SetPosition">
      <arg direction="in" name="TrackId" type="o"/>
      <arg direction="in" name="Position" type="x"/>
    </method>
    <method name="OpenUri"><arg direction="in" name="Uri" type="s"/></method>
    <signal name="Seeked"><arg name="Position" type="x"/></signal>
    <property name="PlaybackStatus" type="s" access="read"/>
    <property name="Rate" type="d" access="read"/>
    <property name="MinimumRate" type="d" access="read"/>
    <property name="MaximumRate" type="d" access="read"/>
    <property name="Volume" type="d" access="read"/>
    <property name="Metadata" type="a{sv}" access="read"/>
    <property name="CanGoNext" type="b" access="read"/>
    <property name="CanGoPrevious" type="b" access="read"/>
    <property name="CanPlay" type="b" access="read"/>
    <property name="CanPause" type="b" access="read"/>
    <property name="CanSeek" type="b" access="read"/>
    <property name="CanControl" type="b" access="read"/>
  </interface>
</node>)";

// The formats the engine plays: MP3, Ogg Vorbis, WAV and Musepack.
constexpr const char* kMimeTypes[] = {"audio/mpeg",         "audio/x-mpeg",     "audio/mp3",
                                      "audio/x-mp3",        "audio/ogg",        "audio/vorbis",
                                      "audio/x-vorbis+ogg", "audio/x-wav",      "audio/wav",
                                      "audio/vnd.wave",     "audio/x-musepack", "audio/musepack"};
constexpr const char* kUriSchemes[] = {"file"};

struct GFreeDeleter {
  void operator()(gchar* text) const noexcept { g_free(text); }
};
using GCharPtr = std::unique_ptr<gchar, GFreeDeleter>;

struct VariantDeleter {
  void operator()(GVariant* value) const noexcept { g_variant_unref(value); }
};
using VariantPtr = std::unique_ptr<GVariant, VariantDeleter>;

struct ErrorDeleter {
  void operator()(GError* error) const noexcept { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorDeleter>;

template <std::size_t N>
GVariant* StringArray(const char* const (&texts)[N]) {
  return g_variant_new_strv(texts, static_cast<gssize>(N));
}

const char* StatusText(PlaybackStatus status) {
  switch (status) {
    case PlaybackStatus::kPlaying: return "Playing";
    case PlaybackStatus::kPaused: return "Paused";
    case PlaybackStatus::kStopped: break;
  }
  return "Stopped";
}

// A playlist path may be relative to the working folder; a URL must not be.
std::string FileUri(const std::string& path) {
  const GCharPtr absolute(g_canonicalize_filename(path.c_str(), nullptr));
  const GCharPtr uri(g_filename_to_uri(absolute.get(), nullptr, nullptr));
  return uri ? std::string(uri.get()) : std::string();
}

GVariant* NoTrackMetadata() {
  GVariantBuilder builder;
  g_variant_builder_init(&builder, G_VARIANT_TYPE("a{sv}"));
  g_variant_builder_add(&builder, "{sv}", "mpris:trackid", g_variant_new_object_path(kNoTrack));
  return g_variant_builder_end(&builder);
}

void AddText(GVariantBuilder& builder, const char* key, const std::string& latin1) {
  if (!latin1.empty()) {
    g_variant_builder_add(&builder, "{sv}", key, g_variant_new_string(ToUtf8(latin1).c_str()));
  }
}

}  // namespace

enum class MprisService::Command {
  kPlay,
  kPause,
  kPlayPause,
  kStop,
  kNext,
  kPrevious,
  kRaise,
  kQuit,
  kPlayNewList
};

struct MprisService::PendingCall {
  MprisService* service;
  Command command;
  unsigned source = 0;
};

// Everything that touches GDBus. Its static members are the C callbacks,
// which get the service as user data.
struct MprisService::Bus {
  explicit Bus(MprisService& owner) : service(owner) {}
  ~Bus() {
    Unregister();
    if (ownerId != 0) g_bus_unown_name(ownerId);
    if (updateSource != 0) g_source_remove(updateSource);
    if (node != nullptr) g_dbus_node_info_unref(node);
  }
  Bus(const Bus&) = delete;
  Bus& operator=(const Bus&) = delete;

  void Register(GDBusConnection* bus);
  void Unregister();
  GVariant* Metadata();
  GVariant* Property(const gchar* name);
  void EmitChanges();

  static void OnBusAcquired(GDBusConnection* bus, const gchar*, gpointer self);
  static void OnNameLost(GDBusConnection* bus, const gchar*, gpointer self);
  static void OnMethodCall(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                           const gchar* method, GVariant* parameters,
                           GDBusMethodInvocation* invocation, gpointer self);
  static GVariant* OnGetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                 const gchar* name, GError**, gpointer self);
  static gboolean OnUpdate(gpointer self);
  static gboolean OnPendingCall(gpointer call);
  static void DeletePendingCall(gpointer call) { delete static_cast<PendingCall*>(call); }

  void OpenUri(GVariant* parameters, GDBusMethodInvocation* invocation);

  MprisService& service;
  guint ownerId = 0;
  GDBusNodeInfo* node = nullptr;
  GDBusConnection* connection = nullptr;  // owned reference while registered
  guint objects[2] = {0, 0};
  guint updateSource = 0;
  // The values of the properties that change, as last announced.
  std::string lastStatus;
  VariantPtr lastMetadata;
};

void MprisService::Bus::Register(GDBusConnection* bus) {
  static const GDBusInterfaceVTable kVTable = {&OnMethodCall, &OnGetProperty, nullptr, {}};
  connection = G_DBUS_CONNECTION(g_object_ref(bus));
  for (int i = 0; i < 2; ++i) {
    GError* raw = nullptr;
    objects[i] = g_dbus_connection_register_object(bus, kObjectPath, node->interfaces[i], &kVTable,
                                                   &service, nullptr, &raw);
    const ErrorPtr error(raw);
    if (objects[i] == 0) {
      Unregister();
      service.SayUnavailable(error ? error->message : "the object cannot be registered");
      return;
    }
  }
  // Nothing is asked of the player here: its engine may still be starting,
  // and waiting for it would hold up the window's first events. Until a song
  // starts it is stopped without a track.
  lastStatus = StatusText(PlaybackStatus::kStopped);
  lastMetadata.reset(g_variant_ref_sink(NoTrackMetadata()));
  if (service.track_) service.Announce();
}

void MprisService::Bus::Unregister() {
  for (guint& object : objects) {
    if (object != 0 && connection != nullptr)
      g_dbus_connection_unregister_object(connection, object);
    object = 0;
  }
  if (connection != nullptr) g_object_unref(connection);
  connection = nullptr;
}

GVariant* MprisService::Bus::Metadata() {
  std::optional<Track>& track = service.track_;
  if (!track || !service.controls_.HasSong()) return NoTrackMetadata();
  GVariantBuilder builder;
  g_variant_builder_init(&builder, G_VARIANT_TYPE("a{sv}"));
  if (!track->description) track->description = service.controls_.Describe(track->path);
  const std::string id = kTrackIdPrefix + std::to_string(track->position);
  g_variant_builder_add(&builder, "{sv}", "mpris:trackid", g_variant_new_object_path(id.c_str()));
  AddText(builder, "xesam:title", track->description->title);
  AddText(builder, "xesam:album", track->description->album);
  if (!track->description->artist.empty()) {
    const std::string artist = ToUtf8(track->description->artist);
    const char* const artists[] = {artist.c_str()};
    g_variant_builder_add(&builder, "{sv}", "xesam:artist", StringArray(artists));
  }
  const std::string uri = FileUri(track->path);
  if (!uri.empty()) {
    g_variant_builder_add(&builder, "{sv}", "xesam:url", g_variant_new_string(uri.c_str()));
  }
  if (track->description->lengthUs > 0) {
    g_variant_builder_add(&builder, "{sv}", "mpris:length",
                          g_variant_new_int64(track->description->lengthUs));
  }
  return g_variant_builder_end(&builder);
}

GVariant* MprisService::Bus::Property(const gchar* name) {
  const std::string_view key(name);
  if (key == "PlaybackStatus") return g_variant_new_string(StatusText(service.controls_.Status()));
  if (key == "Metadata") return Metadata();
  if (key == "Identity") return g_variant_new_string("Orvo M");
  // The installed desktop entry is orvo-m.desktop.
  if (key == "DesktopEntry") return g_variant_new_string("orvo-m");
  if (key == "SupportedUriSchemes") return StringArray(kUriSchemes);
  if (key == "SupportedMimeTypes") return StringArray(kMimeTypes);
  // Playback runs at one speed and volume, set by nobody.
  if (key == "Rate" || key == "MinimumRate" || key == "MaximumRate" || key == "Volume") {
    return g_variant_new_double(1.0);
  }
  // The engine neither seeks nor keeps a track list. Every other control is
  // one of the player's buttons, which are always there to press (as in the
  // window, one pressed with an empty playlist does nothing).
  return g_variant_new_boolean(key != "CanSeek" && key != "HasTrackList");
}

void MprisService::Bus::EmitChanges() {
  if (connection == nullptr) return;
  GVariantBuilder changed;
  g_variant_builder_init(&changed, G_VARIANT_TYPE("a{sv}"));
  bool any = false;
  const std::string status = StatusText(service.controls_.Status());
  if (status != lastStatus) {
    g_variant_builder_add(&changed, "{sv}", "PlaybackStatus", g_variant_new_string(status.c_str()));
    lastStatus = status;
    any = true;
  }
  VariantPtr metadata(g_variant_ref_sink(Metadata()));
  if (!g_variant_equal(metadata.get(), lastMetadata.get())) {
    g_variant_builder_add(&changed, "{sv}", "Metadata", metadata.get());
    lastMetadata = std::move(metadata);
    any = true;
  }
  if (!any) {
    g_variant_builder_clear(&changed);
    return;
  }
  g_dbus_connection_emit_signal(
      connection, nullptr, kObjectPath, "org.freedesktop.DBus.Properties", "PropertiesChanged",
      g_variant_new("(sa{sv}as)", kPlayerInterface, &changed, nullptr), nullptr);
}

void MprisService::Bus::OnBusAcquired(GDBusConnection* bus, const gchar*, gpointer self) {
  static_cast<MprisService*>(self)->bus_->Register(bus);
}

void MprisService::Bus::OnNameLost(GDBusConnection* bus, const gchar*, gpointer self) {
  auto* service = static_cast<MprisService*>(self);
  service->bus_->Unregister();
  service->SayUnavailable(bus == nullptr ? "no session bus"
                                         : std::string(kBusName) + " has another owner");
}

void MprisService::Bus::OnMethodCall(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                     const gchar* method, GVariant* parameters,
                                     GDBusMethodInvocation* invocation, gpointer self) {
  static const struct {
    const char* name;
    Command command;
  } kCommands[] = {{"Play", Command::kPlay},           {"Pause", Command::kPause},
                   {"PlayPause", Command::kPlayPause}, {"Stop", Command::kStop},
                   {"Next", Command::kNext},           {"Previous", Command::kPrevious},
                   {"Raise", Command::kRaise},         {"Quit", Command::kQuit}};
  auto* service = static_cast<MprisService*>(self);
  const std::string_view name(method);
  if (name == "OpenUri") {
    service->bus_->OpenUri(parameters, invocation);
    return;
  }
  // The two interfaces share no method name, and GDBus lets through only
  // the methods each declares. Seek and SetPosition do nothing: CanSeek is
  // false.
  g_dbus_method_invocation_return_value(invocation, nullptr);
  for (const auto& entry : kCommands) {
    if (name == entry.name) service->Defer(entry.command);
  }
}

void MprisService::Bus::OpenUri(GVariant* parameters, GDBusMethodInvocation* invocation) {
  const gchar* uri = nullptr;
  g_variant_get(parameters, "(&s)", &uri);
  const GCharPtr scheme(g_uri_parse_scheme(uri));
  const GCharPtr path(scheme && g_ascii_strcasecmp(scheme.get(), "file") == 0
                          ? g_filename_from_uri(uri, nullptr, nullptr)
                          : nullptr);
  if (!path) {
    g_dbus_method_invocation_return_dbus_error(
        invocation, "org.freedesktop.DBus.Error.NotSupported", "Only local file:// URIs open");
    return;
  }
  if (!service.controls_.TakeMusicFile(path.get())) {
    g_dbus_method_invocation_return_dbus_error(invocation, "org.freedesktop.DBus.Error.InvalidArgs",
                                               "Not a music file (mp3, mpc, wav or ogg)");
    return;
  }
  g_dbus_method_invocation_return_value(invocation, nullptr);
  service.Defer(Command::kPlayNewList);
}

GVariant* MprisService::Bus::OnGetProperty(GDBusConnection*, const gchar*, const gchar*,
                                           const gchar*, const gchar* name, GError**,
                                           gpointer self) {
  return static_cast<MprisService*>(self)->bus_->Property(name);
}

gboolean MprisService::Bus::OnUpdate(gpointer self) {
  Bus& bus = *static_cast<MprisService*>(self)->bus_;
  bus.updateSource = 0;
  bus.EmitChanges();
  return G_SOURCE_REMOVE;
}

gboolean MprisService::Bus::OnPendingCall(gpointer data) {
  const PendingCall call = *static_cast<PendingCall*>(data);
  call.service->pendingCalls_.erase(call.source);
  // May run the main loop for as long as songs play, or end the process.
  call.service->Carry(call.command);
  return G_SOURCE_REMOVE;
}

MprisService::MprisService(MediaControls& controls, std::ostream& diagnostics)
    : controls_(controls), diagnostics_(diagnostics), bus_(std::make_unique<Bus>(*this)) {}

MprisService::~MprisService() {
  for (unsigned source : pendingCalls_) g_source_remove(source);
}

void MprisService::Start() {
  bus_->node = g_dbus_node_info_new_for_xml(kIntrospection, nullptr);
  bus_->ownerId = g_bus_own_name(G_BUS_TYPE_SESSION, kBusName, G_BUS_NAME_OWNER_FLAGS_DO_NOT_QUEUE,
                                 &Bus::OnBusAcquired, nullptr, &Bus::OnNameLost, this, nullptr);
}

void MprisService::SongStarted(std::size_t position, const std::string& path) {
  track_ = Track{position, path, std::nullopt};
  Announce();
}

void MprisService::PlaybackChanged() { Announce(); }

void MprisService::Announce() {
  if (bus_->connection == nullptr || bus_->updateSource != 0) return;
  bus_->updateSource = g_idle_add(&Bus::OnUpdate, this);
}

void MprisService::Defer(Command command) {
  // Same priority as input events, so remote presses keep their place among
  // clicks; one source per call, so that a call waiting inside a song does
  // not hold up the calls after it.
  auto* call = new PendingCall{this, command};
  call->source =
      g_idle_add_full(G_PRIORITY_DEFAULT, &Bus::OnPendingCall, call, &Bus::DeletePendingCall);
  pendingCalls_.insert(call->source);
}

// Play, Pause and PlayPause follow MPRIS: Play resumes a paused song and
// leaves a playing one alone, Pause only pauses; each of them is then exactly
// the play button or the pause button. Stop has no button of its own.
void MprisService::Carry(Command command) {
  const PlaybackStatus status = controls_.Status();
  switch (command) {
    case Command::kPlay:
      if (status == PlaybackStatus::kPaused) controls_.PressPause();
      if (status == PlaybackStatus::kStopped) controls_.PressPlay();
      break;
    case Command::kPause:
      if (status == PlaybackStatus::kPlaying) controls_.PressPause();
      break;
    case Command::kPlayPause:
      if (status == PlaybackStatus::kStopped) {
        controls_.PressPlay();
      } else {
        controls_.PressPause();
      }
      break;
    case Command::kStop: controls_.Stop(); break;
    case Command::kNext: controls_.PressNext(); break;
    case Command::kPrevious: controls_.PressPrevious(); break;
    case Command::kRaise: controls_.Raise(); break;
    case Command::kQuit:
      // The process ends inside Quit: the reply must be on its way first.
      if (bus_->connection != nullptr) {
        g_dbus_connection_flush_sync(bus_->connection, nullptr, nullptr);
      }
      controls_.Quit();
      break;
    case Command::kPlayNewList: controls_.PressPlay(); break;
  }
}

void MprisService::SayUnavailable(const std::string& reason) {
  if (saidUnavailable_) return;
  saidUnavailable_ = true;
  diagnostics_ << "Media controls off: " << reason << '\n' << std::flush;
}

}  // namespace orvo
