#pragma once

#include <gtk/gtk.h>

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

namespace orvo {

// A list of rows with text columns inside a scrolled window. Every row keeps
// its texts twice: converted to UTF-8 for display, and as the 8-bit bytes the
// player works with, so that paths come back out exactly as they went in.
// The widgets belong to the window the scrolled window is put into.
class TextListView {
 public:
  struct Column {
    const char* title;
    int width;
  };

  TextListView(std::initializer_list<Column> columns, GtkSelectionMode mode);
  TextListView(const TextListView&) = delete;
  TextListView& operator=(const TextListView&) = delete;

  GtkWidget* widget() const { return scrolled_; }
  GtkWidget* view() const { return view_; }

  // `texts` holds one 8-bit text per column.
  void Append(const std::vector<std::string>& texts);
  void Clear();
  std::size_t RowCount() const;
  // The 8-bit texts of every row, in list order.
  std::vector<std::vector<std::string>> Rows() const;
  // Positions of the selected rows, ascending.
  std::vector<std::size_t> SelectedRows() const;
  void Select(std::size_t row);
  // Removes the selected rows; false when none was selected.
  bool RemoveSelected();

 private:
  std::vector<std::string> RowAt(GtkTreeIter* iter) const;

  int columns_;
  GtkListStore* store_;  // owned by the view
  GtkWidget* view_;
  GtkWidget* scrolled_;
};

}  // namespace orvo
