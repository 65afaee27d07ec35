#include <gtest/gtest.h>
#include <gtk/gtk.h>

// The toolkit needs a display; listing the tests does not.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!GTEST_FLAG_GET(list_tests)) gtk_init(&argc, &argv);
  return RUN_ALL_TESTS();
}
