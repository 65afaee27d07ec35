#include "backends/notification_service.h"

#include <dlfcn.h>

#include <climits>
#include <cstring>
#include <utility>

#include "base/latin1.h"

namespace orvo {

// libnotify's C signatures, spelled without its headers: gboolean is int,
// NotifyUrgency an enum passed as int, NotifyNotification an opaque object.
// notify_notification_new took a fourth argument, the widget to point at,
// before libnotify 0.7; from 0.7 on it takes three, and calling it with four
// would be undefined. The GLib and GObject functions come from the libraries
// libnotify itself depends on.
struct NotificationService::Functions {
  // GLib's GList, whose layout is part of GLib's stable ABI.
  struct List {
    void* data;
    List* next;
    List* prev;
  };
  using Init = int (*)(const char* appName);
  using NewWithWidget = void* (*)(const char* summary, const char* body, const char* icon,
                                  GtkWidget* attachWidget);
  using New = void* (*)(const char* summary, const char* body, const char* icon);
  using SetTimeout = void (*)(void* notification, int milliseconds);
  using SetUrgency = void (*)(void* notification, int urgency);
  using Show = int (*)(void* notification, void** error);
  using Close = int (*)(void* notification, void** error);
  using GetServerCaps = List* (*)();
  using Unref = void (*)(void* object);
  using Free = void (*)(void* memory);
  using ListFreeFull = void (*)(List* list, Free freeData);
  using MarkupEscape = char* (*)(const char* text, long length);
  using Handler = void (*)(void* object, void* data);
  using ConnectData = unsigned long (*)(void* object, const char* signal, Handler handler,
                                        void* data, void* destroyData, int flags);
  using Disconnect = void (*)(void* object, unsigned long handler);

  Init init = nullptr;
  void* newNotification = nullptr;  // New or NewWithWidget, see takesWidget
  bool takesWidget = false;
  SetTimeout setTimeout = nullptr;
  SetUrgency setUrgency = nullptr;
  Show show = nullptr;
  Close close = nullptr;
  GetServerCaps getServerCaps = nullptr;
  Unref unref = nullptr;
  Free free = nullptr;
  ListFreeFull listFreeFull = nullptr;
  MarkupEscape markupEscape = nullptr;
  ConnectData connectData = nullptr;
  Disconnect disconnect = nullptr;
};

namespace {

// Looks `name` up in `library`. A name whose lookup reports an error stays
// empty; dlerror is cleared first so that an old error is not taken for it.
void* Lookup(void* library, const char* name) {
  dlerror();
  void* address = dlsym(library, name);
  return dlerror() == nullptr ? address : nullptr;
}

template <typename Function>
Function LookupFunction(void* library, const char* name) {
  return reinterpret_cast<Function>(Lookup(library, name));
}

NotificationHandle AsHandle(std::uintptr_t serial) { return reinterpret_cast<NotificationHandle>(serial); }

}  // namespace

// libnotify registers GObject types, which must never be unloaded, so it is
// opened with RTLD_NODELETE: closing the handle then only drops the
// reference and the library stays loaded for the rest of the process.
void NotificationService::LibraryCloser::operator()(void* handle) const noexcept {
  dlclose(handle);
}

std::vector<std::string> NotificationService::DefaultLibraryNames() {
  return {"libnotify.so.1", "libnotify.so", "libnotify.so.4"};
}

NotificationService::NotificationService() : NotificationService(DefaultLibraryNames()) {}

NotificationService::NotificationService(std::vector<std::string> libraryNames)
    : libraryNames_(std::move(libraryNames)), functions_(std::make_unique<Functions>()) {}

NotificationService::~NotificationService() {
  for (const auto& [handle, shown] : shown_) Release(shown);
}

bool NotificationService::InitNotifications(const std::string& appName) {
  if (!library_) {
    for (const std::string& name : libraryNames_) {
      library_.reset(dlopen(name.c_str(), RTLD_LAZY | RTLD_GLOBAL | RTLD_NODELETE));
      if (library_) {
        loadedLibrary_ = name;
        break;
      }
    }
    if (!library_) return false;
    ResolveFunctions();
  }
  if (functions_->init == nullptr) return false;
  const std::string name = IsValidUtf8(appName) ? appName : ToUtf8(appName);
  if (functions_->init(name.c_str()) == 0) return false;
  AskServerCapabilities();
  return true;
}

void NotificationService::ResolveFunctions() {
  void* library = library_.get();
  Functions& f = *functions_;
  f.init = LookupFunction<Functions::Init>(library, "notify_init");
  f.newNotification = Lookup(library, "notify_notification_new");
  // Only the old four-argument API has notify_notification_attach_to_widget
  // (it went away together with the widget argument in 0.7).
  f.takesWidget = Lookup(library, "notify_notification_attach_to_widget") != nullptr;
  f.setTimeout = LookupFunction<Functions::SetTimeout>(library, "notify_notification_set_timeout");
  f.setUrgency = LookupFunction<Functions::SetUrgency>(library, "notify_notification_set_urgency");
  f.show = LookupFunction<Functions::Show>(library, "notify_notification_show");
  f.close = LookupFunction<Functions::Close>(library, "notify_notification_close");
  f.getServerCaps = LookupFunction<Functions::GetServerCaps>(library, "notify_get_server_caps");
  // From GLib and GObject, which libnotify depends on. Without the signal
  // functions an object is kept until it is closed or the service ends;
  // without g_object_unref, to the end of the process.
  f.unref = LookupFunction<Functions::Unref>(library, "g_object_unref");
  f.free = LookupFunction<Functions::Free>(library, "g_free");
  f.listFreeFull = LookupFunction<Functions::ListFreeFull>(library, "g_list_free_full");
  f.markupEscape = LookupFunction<Functions::MarkupEscape>(library, "g_markup_escape_text");
  f.connectData = LookupFunction<Functions::ConnectData>(library, "g_signal_connect_data");
  f.disconnect = LookupFunction<Functions::Disconnect>(library, "g_signal_handler_disconnect");
}

void NotificationService::AskServerCapabilities() {
  const Functions& f = *functions_;
  if (f.getServerCaps == nullptr) return;
  Functions::List* caps = f.getServerCaps();
  for (const Functions::List* cap = caps; cap != nullptr; cap = cap->next) {
    if (std::strcmp(static_cast<const char*>(cap->data), "body-markup") == 0) bodyMarkup_ = true;
  }
  if (caps != nullptr && f.listFreeFull != nullptr && f.free != nullptr) f.listFreeFull(caps, f.free);
}

bool NotificationService::TakesAttachWidget() const { return functions_->takesWidget; }

std::string NotificationService::BodyText(const std::string& latin1Body) const {
  const std::string utf8 = ToUtf8(latin1Body);
  const Functions& f = *functions_;
  if (!bodyMarkup_ || f.markupEscape == nullptr || f.free == nullptr) return utf8;
  char* escaped = f.markupEscape(utf8.c_str(), -1);
  if (escaped == nullptr) return utf8;
  std::string text = escaped;
  f.free(escaped);
  return text;
}

NotificationHandle NotificationService::ShowNotification(const std::string& summary,
                                                         const std::string& body, int seconds,
                                                         int urgency, GtkWidget* attachWidget,
                                                         const std::string& icon) {
  const Functions& f = *functions_;
  if (f.newNotification == nullptr) return nullptr;
  const std::string summaryUtf8 = ToUtf8(summary);
  const std::string bodyText = BodyText(body);
  const std::string iconUtf8 = ToUtf8(icon);
  Shown shown{nullptr, 0};
  if (f.takesWidget) {
    shown.object = reinterpret_cast<Functions::NewWithWidget>(f.newNotification)(
        summaryUtf8.c_str(), bodyText.c_str(), iconUtf8.c_str(), attachWidget);
  } else {
    shown.object = reinterpret_cast<Functions::New>(f.newNotification)(
        summaryUtf8.c_str(), bodyText.c_str(), iconUtf8.c_str());
  }
  if (shown.object == nullptr) return nullptr;
  // Connected before the bubble is shown, so that no close is missed.
  if (f.connectData != nullptr) {
    shown.closedHandler = f.connectData(shown.object, "closed", &OnClosed, this, nullptr, 0);
  }

  // Saturate instead of overflowing for absurd display times.
  const int milliseconds =
      seconds > INT_MAX / 1000 ? INT_MAX : seconds < INT_MIN / 1000 ? INT_MIN : seconds * 1000;
  if (f.setTimeout != nullptr) f.setTimeout(shown.object, milliseconds);
  if (f.setUrgency != nullptr) f.setUrgency(shown.object, urgency);
  // A bubble the server did not take (none runs) will never be closed.
  if (f.show != nullptr && f.show(shown.object, nullptr) == 0) {
    Release(shown);
    return nullptr;
  }
  shown_.emplace(++lastHandle_, shown);
  return AsHandle(lastHandle_);
}

void NotificationService::CloseNotification(NotificationHandle handle) {
  // A handle of a released bubble, or a pointer this service never handed
  // out, names nothing.
  const auto it = shown_.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it == shown_.end()) return;
  const Shown shown = it->second;
  shown_.erase(it);
  if (functions_->close != nullptr) functions_->close(shown.object, nullptr);
  Release(shown);
}

void NotificationService::Release(const Shown& shown) noexcept {
  const Functions& f = *functions_;
  if (shown.closedHandler != 0 && f.disconnect != nullptr) {
    f.disconnect(shown.object, shown.closedHandler);
  }
  if (f.unref != nullptr) f.unref(shown.object);
}

// libnotify holds its own reference while it emits "closed", so the object
// may be released from inside the handler.
void NotificationService::OnClosed(void* object, void* self) {
  auto* service = static_cast<NotificationService*>(self);
  for (auto it = service->shown_.begin(); it != service->shown_.end(); ++it) {
    if (it->second.object == object) {
      const Shown shown = it->second;
      service->shown_.erase(it);
      service->Release(shown);
      return;
    }
  }
}

}  // namespace orvo
