#include "app/application.h"

int main(int argc, char** argv) {
  orvo::Application application;
  return application.Run(argc, argv);
}
