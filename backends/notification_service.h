#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/notifier.h"

namespace orvo {

// Desktop notification bubbles through libnotify, which is opened at run time
// so that the program runs unchanged (without bubbles) where it is missing.
//
// Nothing is loaded before InitNotifications. Until then, when no library of
// the list opens, or for an operation whose libnotify function did not
// resolve, every operation does nothing and ShowNotification returns nullptr.
//
// Ownership: the service owns every notification object it creates and
// keeps it while its bubble is on the screen: it releases the object (and
// with it the object's subscription to the server's signals) when the
// bubble is closed through CloseNotification, when the server reports it
// closed (expired or dismissed) and at the latest with the service. A
// handle is a serial number, not the object: one a caller kept after its
// bubble was released is never reused for another bubble, and closing it
// does nothing.
//
// Bodies are plain text. Where the server announces "body-markup" it reads
// them as markup, so they are sent escaped there ("Simon & Garfunkel" would
// otherwise give an empty bubble); summaries are never markup.
class NotificationService : public Notifier {
 public:
  // The sonames tried in order by the default constructor: the two historic
  // names first, then the one current distributions ship (libnotify.so.4),
  // without which bubbles would never appear where no development package
  // is installed.
  static std::vector<std::string> DefaultLibraryNames();

  NotificationService();
  explicit NotificationService(std::vector<std::string> libraryNames);
  ~NotificationService() override;
  NotificationService(const NotificationService&) = delete;
  NotificationService& operator=(const NotificationService&) = delete;

  // Opens the first library of the list that loads, resolves its functions,
  // calls notify_init and asks the server once for its capabilities.
  // Returns notify_init's result, false when no library loaded. `appName` is
  // sent as it is when it is valid UTF-8 and converted from ISO-8859-1
  // otherwise (D-Bus accepts UTF-8 only).
  bool InitNotifications(const std::string& appName);

  // Texts and icon path are ISO-8859-1. `seconds` becomes the bubble's
  // timeout in milliseconds; `urgency` is libnotify's 0 low, 1 normal,
  // 2 critical. `attachWidget` (a GtkWidget*) is used only by a libnotify
  // whose notify_notification_new takes one; newer ones ignore it.
  NotificationHandle ShowNotification(const std::string& summary, const std::string& body,
                                      int seconds, int urgency, GtkWidget* attachWidget,
                                      const std::string& icon) override;
  void CloseNotification(NotificationHandle handle) override;

  // The name of the library that opened, empty when none did.
  const std::string& LoadedLibrary() const { return loadedLibrary_; }
  // True when the loaded libnotify takes an attach widget (before 0.7).
  bool TakesAttachWidget() const;

 private:
  struct Functions;
  struct LibraryCloser {
    void operator()(void* handle) const noexcept;
  };
  // A notification object whose bubble may still be on the screen.
  struct Shown {
    void* object;
    unsigned long closedHandler;  // 0: not connected
  };

  void ResolveFunctions();
  void AskServerCapabilities();
  std::string BodyText(const std::string& latin1Body) const;
  void Release(const Shown& shown) noexcept;
  static void OnClosed(void* object, void* self);

  std::vector<std::string> libraryNames_;
  std::string loadedLibrary_;
  std::unique_ptr<void, LibraryCloser> library_;
  std::unique_ptr<Functions> functions_;
  bool bodyMarkup_ = false;
  std::map<std::uintptr_t, Shown> shown_;  // by handle
  std::uintptr_t lastHandle_ = 0;
};

}  // namespace orvo
