#include "backends/notification_service.h"

#include <dlfcn.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "base/latin1.h"

namespace orvo {

// libnotify's C signatures, spelled without its headers: gboolean is int,
// NotifyUrgency an enum passed as int, NotifyNotification an opaque object.
// notify_notification_new took a fourth argument, the widget to point at,
// before libnotify 0.7; from 0.7 on it takes three, and calling it with four
// would be undefined.
struct NotificationService::Functions {
  using Init = int (*)(const char* appName);
  using NewWithWidget = void* (*)(const char* summary, const char* body, const char* icon,
                                  GtkWidget* attachWidget);
  using New = void* (*)(const char* summary, const char* body, const char* icon);
  using SetTimeout = void (*)(void* notification, int milliseconds);
  using SetUrgency = void (*)(void* notification, int urgency);
  using Show = int (*)(void* notification, void** error);
  using Close = int (*)(void* notification, void** error);
  using Unref = void (*)(void* object);

  Init init = nullptr;
  void* newNotification = nullptr;  // New or NewWithWidget, see takesWidget
  bool takesWidget = false;
  SetTimeout setTimeout = nullptr;
  SetUrgency setUrgency = nullptr;
  Show show = nullptr;
  Close close = nullptr;
  Unref unref = nullptr;
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

NotificationService::~NotificationService() { ReleaseNotifications(); }

void NotificationService::ReleaseNotifications() noexcept {
  if (functions_->unref != nullptr) {
    for (NotificationHandle notification : notifications_) functions_->unref(notification);
  }
  notifications_.clear();
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
  return functions_->init(name.c_str()) != 0;
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
  // From libgobject, which libnotify depends on; without it the objects are
  // kept to the end of the process.
  f.unref = LookupFunction<Functions::Unref>(library, "g_object_unref");
}

bool NotificationService::TakesAttachWidget() const { return functions_->takesWidget; }

NotificationHandle NotificationService::ShowNotification(const std::string& summary,
                                                         const std::string& body, int seconds,
                                                         int urgency, GtkWidget* attachWidget,
                                                         const std::string& icon) {
  const Functions& f = *functions_;
  if (f.newNotification == nullptr) return nullptr;
  const std::string summaryUtf8 = ToUtf8(summary);
  const std::string bodyUtf8 = ToUtf8(body);
  const std::string iconUtf8 = ToUtf8(icon);
  void* notification = nullptr;
  if (f.takesWidget) {
    notification = reinterpret_cast<Functions::NewWithWidget>(f.newNotification)(
        summaryUtf8.c_str(), bodyUtf8.c_str(), iconUtf8.c_str(), attachWidget);
  } else {
    notification = reinterpret_cast<Functions::New>(f.newNotification)(
        summaryUtf8.c_str(), bodyUtf8.c_str(), iconUtf8.c_str());
  }
  if (notification == nullptr) return nullptr;
  notifications_.push_back(notification);

  // Saturate instead of overflowing for absurd display times.
  const int milliseconds =
      seconds > INT_MAX / 1000 ? INT_MAX : seconds < INT_MIN / 1000 ? INT_MIN : seconds * 1000;
  if (f.setTimeout != nullptr) f.setTimeout(notification, milliseconds);
  if (f.setUrgency != nullptr) f.setUrgency(notification, urgency);
  if (f.show != nullptr) f.show(notification, nullptr);
  return notification;
}

void NotificationService::CloseNotification(NotificationHandle handle) {
  if (handle == nullptr || functions_->close == nullptr) return;
  // A pointer this service never handed out is no notification object.
  if (std::find(notifications_.begin(), notifications_.end(), handle) == notifications_.end()) {
    return;
  }
  functions_->close(handle, nullptr);
}

}  // namespace orvo
