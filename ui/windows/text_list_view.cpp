#include "ui/windows/text_list_view.h"

#include "base/latin1.h"

namespace orvo {
namespace {

// The store holds the display texts in columns 0..n-1 and the 8-bit texts
// in columns n..2n-1.
GtkListStore* NewStore(int columns) {
  std::vector<GType> types(static_cast<std::size_t>(columns) * 2, G_TYPE_STRING);
  return gtk_list_store_newv(static_cast<gint>(types.size()), types.data());
}

GtkTreeViewColumn* NewColumn(const TextListView::Column& column, int index) {
  GtkCellRenderer* renderer = gtk_cell_renderer_text_new();
  GtkTreeViewColumn* result =
      gtk_tree_view_column_new_with_attributes(column.title, renderer, "text", index, nullptr);
  gtk_tree_view_column_set_sizing(result, GTK_TREE_VIEW_COLUMN_FIXED);
  gtk_tree_view_column_set_fixed_width(result, column.width);
  gtk_tree_view_column_set_resizable(result, TRUE);
  return result;
}

}  // namespace

TextListView::TextListView(std::initializer_list<Column> columns, GtkSelectionMode mode)
    : columns_(static_cast<int>(columns.size())),
      store_(NewStore(columns_)),
      view_(gtk_tree_view_new_with_model(GTK_TREE_MODEL(store_))),
      scrolled_(gtk_scrolled_window_new(nullptr, nullptr)) {
  g_object_unref(store_);  // the view keeps the store alive
  int index = 0;
  for (const Column& column : columns) {
    gtk_tree_view_append_column(GTK_TREE_VIEW(view_), NewColumn(column, index++));
  }
  gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(view_), TRUE);
  gtk_tree_selection_set_mode(gtk_tree_view_get_selection(GTK_TREE_VIEW(view_)), mode);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled_), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_container_add(GTK_CONTAINER(scrolled_), view_);
}

void TextListView::Append(const std::vector<std::string>& texts) {
  GtkTreeIter iter;
  gtk_list_store_append(store_, &iter);
  for (int i = 0; i < columns_ && static_cast<std::size_t>(i) < texts.size(); ++i) {
    const std::string& text = texts[static_cast<std::size_t>(i)];
    const std::string display = ToUtf8(text);
    gtk_list_store_set(store_, &iter, i, display.c_str(), columns_ + i, text.c_str(), -1);
  }
}

void TextListView::Clear() { gtk_list_store_clear(store_); }

std::size_t TextListView::RowCount() const {
  return static_cast<std::size_t>(gtk_tree_model_iter_n_children(GTK_TREE_MODEL(store_), nullptr));
}

std::vector<std::string> TextListView::RowAt(GtkTreeIter* iter) const {
  std::vector<std::string> row;
  for (int i = 0; i < columns_; ++i) {
    gchar* text = nullptr;
    gtk_tree_model_get(GTK_TREE_MODEL(store_), iter, columns_ + i, &text, -1);
    row.emplace_back(text != nullptr ? text : "");
    g_free(text);
  }
  return row;
}

std::vector<std::vector<std::string>> TextListView::Rows() const {
  std::vector<std::vector<std::string>> rows;
  GtkTreeIter iter;
  gboolean valid = gtk_tree_model_get_iter_first(GTK_TREE_MODEL(store_), &iter);
  while (valid) {
    rows.push_back(RowAt(&iter));
    valid = gtk_tree_model_iter_next(GTK_TREE_MODEL(store_), &iter);
  }
  return rows;
}

std::vector<std::size_t> TextListView::SelectedRows() const {
  std::vector<std::size_t> selected;
  GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(view_));
  GtkTreeIter iter;
  std::size_t position = 0;
  gboolean valid = gtk_tree_model_get_iter_first(GTK_TREE_MODEL(store_), &iter);
  while (valid) {
    if (gtk_tree_selection_iter_is_selected(selection, &iter)) selected.push_back(position);
    ++position;
    valid = gtk_tree_model_iter_next(GTK_TREE_MODEL(store_), &iter);
  }
  return selected;
}

void TextListView::Select(std::size_t row) {
  GtkTreeIter iter;
  if (!gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(store_), &iter, nullptr,
                                     static_cast<gint>(row))) {
    return;
  }
  gtk_tree_selection_select_iter(gtk_tree_view_get_selection(GTK_TREE_VIEW(view_)), &iter);
}

bool TextListView::RemoveSelected() {
  GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(view_));
  if (gtk_tree_selection_count_selected_rows(selection) == 0) return false;
  GtkTreeIter iter;
  gboolean valid = gtk_tree_model_get_iter_first(GTK_TREE_MODEL(store_), &iter);
  while (valid) {
    // gtk_list_store_remove moves the iterator on to the following row.
    valid = gtk_tree_selection_iter_is_selected(selection, &iter)
                ? gtk_list_store_remove(store_, &iter)
                : gtk_tree_model_iter_next(GTK_TREE_MODEL(store_), &iter);
  }
  return true;
}

}  // namespace orvo
