// tolmar-imginfo IN.txt OUT.db: builds the "IMGINFO" overlay table of the
// program folder from its readable description. Run by the build; exit codes
// 0 ok, 1 failure, 2 usage.
#include <fstream>
#include <iostream>
#include <sstream>

#include "image/ImageInfoText.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: tolmar-imginfo IN.txt OUT.db\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "tolmar-imginfo: " << argv[1] << ": cannot be read\n";
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  std::vector<tolmar::ImageInfoItem> items;
  std::string error;
  if (!tolmar::ParseImageInfoText(text.str(), items, error)) {
    std::cerr << "tolmar-imginfo: " << argv[1] << ": " << error << "\n";
    return 1;
  }
  if (!tolmar::WriteImageInfoTable(argv[2], items, error)) {
    std::cerr << "tolmar-imginfo: " << error << "\n";
    return 1;
  }
  return 0;
}
