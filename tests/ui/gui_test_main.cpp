#include <gtest/gtest.h>
#include <gtk/gtk.h>

// The toolkit needs a display; listing the tests does not.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!GTEST_FLAG_GET(list_tests)) {
    gtk_init(&argc, &argv);
    // Accepted file choosers record the file in the user's recent list.
    g_mkdir_with_parents(g_get_user_data_dir(), 0700);
  }
  return RUN_ALL_TESTS();
}
