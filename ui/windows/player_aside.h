#pragma once

typedef struct _GtkWidget GtkWidget;

namespace orvo {

// Keeps the player window out of the way while a secondary window is open:
// remembers where it stands and minimises it unless it already was, and
// brings it back afterwards only if it was minimised here.
class PlayerAside {
 public:
  PlayerAside() = default;
  // Reads the player's position, then minimises it unless `alreadyMinimised`.
  void Start(GtkWidget* player, bool alreadyMinimised);
  // Restores the player if Start minimised it; later calls do nothing.
  void Restore();

  int x() const { return x_; }
  int y() const { return y_; }

 private:
  GtkWidget* player_ = nullptr;
  bool minimisedHere_ = false;
  int x_ = 0;
  int y_ = 0;
};

}  // namespace orvo
