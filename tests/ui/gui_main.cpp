// The GUI tests run in one process with the toolkit initialised once; listing
// them needs no display.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!GTEST_FLAG_GET(list_tests)) {
    if (!gtk_init_check(&argc, &argv)) return 1;
    // Accepted file choosers record the file in the user's recent list.
    g_mkdir_with_parents(g_get_user_data_dir(), 0700);
  }
  return RUN_ALL_TESTS();
}
