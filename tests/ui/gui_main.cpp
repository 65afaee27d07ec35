// GUI tests run in one process with the toolkit initialised once. Listing
// the tests needs no display, so a failed initialisation only matters when a
// test actually runs.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const bool display = gtk_init_check(&argc, &argv);
  if (!display && !::testing::GTEST_FLAG(list_tests)) {
    fprintf(stderr, "no X display: run the GUI tests under scripts/testenv.sh --x\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
