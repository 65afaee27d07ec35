#pragma once

typedef struct _GtkWidget GtkWidget;

namespace orvo {

class CurrentPlaylist;
class Notifier;

// Announces how many songs the current playlist holds after it was refilled.
// `attachWidget` is the GtkWidget* the bubble points at, or nullptr (at
// start-up and while the player window is iconified).
void ShowPlaylistCount(Notifier& notifier, const CurrentPlaylist& playlist, int seconds,
                       GtkWidget* attachWidget);

}  // namespace orvo
