#include "platform/win32/SystemLoaderFunctions.h"

ILoader& SystemLoader() {
  static SystemLoaderFunctions loader;
  return loader;
}
