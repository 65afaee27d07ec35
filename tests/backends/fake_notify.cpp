// A stand-in for libnotify that records how it is called, so tests can see
// what the notification service passes where no real daemon could tell
// (the attach widget of the old four-argument API, the release of objects).
// FAKE_OLD_API builds the pre-0.7 interface with the widget argument and
// notify_notification_attach_to_widget; FAKE_PARTIAL leaves out the setters,
// close and g_object_unref, like a library whose names do not all resolve.
#include <cstdarg>
#include <cstdio>
#include <cstring>

extern "C" {

// The names below are libnotify's, so they keep its C spelling.
static char fake_log[8192];
static int fake_objects[64];
static int fake_next_object;

__attribute__((format(printf, 1, 2))) static void record(const char* format, ...) {
  char line[1024];
  va_list arguments;
  va_start(arguments, format);
  vsnprintf(line, sizeof line, format, arguments);
  va_end(arguments);
  if (strlen(fake_log) + strlen(line) + 2 < sizeof fake_log) {
    strcat(fake_log, line);
    strcat(fake_log, "\n");
  }
}

static int number(void* object) { return static_cast<int>(static_cast<int*>(object) - fake_objects); }

const char* fake_notify_log() { return fake_log; }

int notify_init(const char* app_name) {
  record("init %s", app_name);
  return 1;
}

static void* make_object(const char* summary, const char* body, const char* icon) {
  if (fake_next_object >= 64) return NULL;
  record("new %d [%s] [%s] [%s]", fake_next_object, summary, body, icon);
  return &fake_objects[fake_next_object++];
}

#ifdef FAKE_OLD_API
void* notify_notification_new(const char* summary, const char* body, const char* icon,
                              void* attach_widget) {
  void* object = make_object(summary, body, icon);
  record("widget %p", attach_widget);
  return object;
}

void notify_notification_attach_to_widget(void*, void*) { record("attach_to_widget"); }
#else
void* notify_notification_new(const char* summary, const char* body, const char* icon) {
  return make_object(summary, body, icon);
}
#endif

int notify_notification_show(void* notification, void** error) {
  record("show %d error=%p", number(notification), static_cast<void*>(error));
  return 1;
}

#ifndef FAKE_PARTIAL
void notify_notification_set_timeout(void* notification, int timeout) {
  record("timeout %d %d", number(notification), timeout);
}

void notify_notification_set_urgency(void* notification, int urgency) {
  record("urgency %d %d", number(notification), urgency);
}

int notify_notification_close(void* notification, void** error) {
  record("close %d error=%p", number(notification), static_cast<void*>(error));
  return 1;
}

void g_object_unref(void* object) { record("unref %d", number(object)); }
#endif

}  // extern "C"
