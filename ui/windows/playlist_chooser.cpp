#include "ui/windows/playlist_chooser.h"

#include <algorithm>

#include "base/folder_listing.h"
#include "base/latin1.h"

namespace orvo {

PlaylistChooser::PlaylistChooser() : combo_(gtk_combo_box_text_new()) {}

void PlaylistChooser::Fill(const std::string& folder) {
  Append(kCreateEntry);
  for (const std::string& name : FilesMatching(folder, "*.m3u")) Append(folder + name);
  Select(0);
}

int PlaylistChooser::Active() const { return gtk_combo_box_get_active(GTK_COMBO_BOX(combo_)); }

void PlaylistChooser::Select(int entry) { gtk_combo_box_set_active(GTK_COMBO_BOX(combo_), entry); }

std::string PlaylistChooser::ActiveText() const {
  const int active = Active();
  return active < 0 ? std::string() : texts_[static_cast<std::size_t>(active)];
}

int PlaylistChooser::Find(const std::string& path) const {
  if (texts_.size() < 2) return -1;
  const auto listed = std::find(texts_.begin() + 1, texts_.end(), path);
  return listed == texts_.end() ? -1 : static_cast<int>(listed - texts_.begin());
}

void PlaylistChooser::Append(const std::string& path) {
  texts_.push_back(path);
  gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(combo_), ToUtf8(path).c_str());
}

void PlaylistChooser::Remove(int entry) {
  if (entry < 0 || static_cast<std::size_t>(entry) >= texts_.size()) return;
  texts_.erase(texts_.begin() + entry);
  gtk_combo_box_text_remove(GTK_COMBO_BOX_TEXT(combo_), entry);
}

}  // namespace orvo
