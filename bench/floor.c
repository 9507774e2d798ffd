/* The floor of wondergen-cli's work, as a whole process: the same tree AAA deleted, its nine
 * folders created and six files of the documents' sizes written, with plain C calls.
 * floor <dir> <bytes of the localization> <of the other languages> <of the gameplay data>
 *       <of the icons> <of the manifest> */
#define _XOPEN_SOURCE 700
#include <fcntl.h>
#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

static int remove_entry(const char* path, const struct stat* status, int flag, struct FTW* ftw) {
  (void)status, (void)flag, (void)ftw;
  return remove(path);
}

static void write_file(const char* path, long size) {
  static char bytes[1 << 16];
  int file = open(path, O_RDWR | O_CREAT | O_TRUNC, 0666);
  if (file < 0 || write(file, bytes, (size_t)size) != size || close(file) != 0) exit(1);
}

int main(int argc, char** argv) {
  static const char* folders[] = {"AAA",
                                  "AAA/Base",
                                  "AAA/Base/Assets",
                                  "AAA/Base/Assets/Text",
                                  "AAA/Base/Assets/Text/Translations",
                                  "AAA/DLC",
                                  "AAA/DLC/Newbuilding2PD_RIR",
                                  "AAA/DLC/Newbuilding2PD_RIR/Data",
                                  "AAA/DLC/Newbuilding2PD_RIR/Text"};
  if (argc != 7 || chdir(argv[1]) != 0) return 2;
  nftw("AAA", remove_entry, 16, FTW_DEPTH | FTW_PHYS);
  for (size_t i = 0; i < sizeof folders / sizeof *folders; ++i)
    mkdir(folders[i], 0777);
  write_file("AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml", atol(argv[2]));
  write_file("AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_zh_Hans_CN.xml", atol(argv[2]));
  write_file("AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml", atol(argv[3]));
  write_file("AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml", atol(argv[4]));
  write_file("AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml", atol(argv[5]));
  write_file("AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo", atol(argv[6]));
  return 0;
}
