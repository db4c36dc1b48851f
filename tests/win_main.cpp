// Entry point of the Windows test programs: one STA with OLE, as the program
// itself runs, and no crash dialogs that would wait for a person under the bed.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  if (FAILED(OleInitialize(nullptr))) return 3;
  int rc = RUN_ALL_TESTS();
  OleUninitialize();
  return rc;
}
