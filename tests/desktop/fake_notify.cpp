// A stand-in for libnotify that records how it is called, so tests can see
// what the notification service passes where no real daemon could tell
// (the attach widget of the old four-argument API, the release of objects).
// FAKE_OLD_API builds the pre-0.7 interface with the widget argument and
// notify_notification_attach_to_widget; FAKE_PARTIAL leaves out the setters,
// close and g_object_unref, like a library whose names do not all resolve.
#include <cstdio>
#include <cstring>

extern "C" {

// The names below are libnotify's, so they keep its C spelling.
static char fake_log[8192];
static int fake_objects[64];
static int fake_next_object;

static void record(const char* line) {
  size_t used = strlen(fake_log);
  if (used + strlen(line) + 2 < sizeof fake_log) {
    strcat(fake_log, line);
    strcat(fake_log, "\n");
  }
}

const char* fake_notify_log() { return fake_log; }

int notify_init(const char* app_name) {
  char line[512];
  snprintf(line, sizeof line, "init %s", app_name);
  record(line);
  return 1;
}

static void* make_object(const char* summary, const char* body, const char* icon) {
  char line[1024];
  if (fake_next_object >= 64) return NULL;
  snprintf(line, sizeof line, "new %d [%s] [%s] [%s]", fake_next_object, summary, body, icon);
  record(line);
  return &fake_objects[fake_next_object++];
}

static int object_number(void* object) {
  return static_cast<int>(static_cast<int*>(object) - fake_objects);
}

#ifdef FAKE_OLD_API
void* notify_notification_new(const char* summary, const char* body, const char* icon,
                              void* attach_widget) {
  void* object = make_object(summary, body, icon);
  char line[64];
  snprintf(line, sizeof line, "widget %p", attach_widget);
  record(line);
  return object;
}

void notify_notification_attach_to_widget(void*, void*) {
  record("attach_to_widget");
}
#else
void* notify_notification_new(const char* summary, const char* body, const char* icon) {
  return make_object(summary, body, icon);
}
#endif

int notify_notification_show(void* notification, void** error) {
  char line[64];
  snprintf(line, sizeof line, "show %d error=%p", object_number(notification), static_cast<void*>(error));
  record(line);
  return 1;
}

#ifndef FAKE_PARTIAL
void notify_notification_set_timeout(void* notification, int timeout) {
  char line[64];
  snprintf(line, sizeof line, "timeout %d %d", object_number(notification), timeout);
  record(line);
}

void notify_notification_set_urgency(void* notification, int urgency) {
  char line[64];
  snprintf(line, sizeof line, "urgency %d %d", object_number(notification), urgency);
  record(line);
}

int notify_notification_close(void* notification, void** error) {
  char line[64];
  snprintf(line, sizeof line, "close %d error=%p", object_number(notification), static_cast<void*>(error));
  record(line);
  return 1;
}

void g_object_unref(void* object) {
  char line[64];
  snprintf(line, sizeof line, "unref %d", object_number(object));
  record(line);
}
#endif

}  // extern "C"
