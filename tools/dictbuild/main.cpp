// kirvale-dictbuild: builds the program folder's dictionaries from the free
// sources. See README.md, "Building the full dictionary".
#include <cstring>
#include <iostream>
#include <string>

#include "tools/dictbuild/dictbuild.h"

int main(int argc, char** argv) {
  kirvale::dictbuild::Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](const char* name, std::string& field) {
      std::string prefix = std::string("--") + name + "=";
      if (a.rfind(prefix, 0) == 0) {
        field = a.substr(prefix.size());
        return true;
      }
      return false;
    };
    if (value("edict", o.edict) || value("cedict", o.cedict) || value("jp2t", o.jp2t) || value("t2s", o.t2s) ||
        value("zipcode", o.zipcode) || value("english-words", o.englishWords) ||
        value("english-common", o.englishCommon) || value("frequency", o.frequency) ||
        value("place-readings", o.placeReadings) || value("out", o.outDir) || value("reviewed", o.reviewed) ||
        value("reviewed-english", o.reviewedEnglish) || value("wordnet", o.wordnet))
      continue;
    if (a == "--plain") {
      o.encrypt = false;
    } else if (a == "--plain-copies") {
      o.plainCopies = true;
    } else {
      std::cerr << "usage: kirvale-dictbuild --cedict=FILE --out=DIR [--edict=FILE] [--jp2t=FILE] [--t2s=FILE]\n"
                   "         [--zipcode=FILE] [--english-words=FILE] [--english-common=FILE] [--frequency=FILE]\n"
                   "         [--place-readings=FILE] [--reviewed=FILE] [--reviewed-english=FILE] [--wordnet=DIR]\n"
                   "         [--plain] [--plain-copies]\n";
      return 64;
    }
  }
  return kirvale::dictbuild::RunBuilder(o, std::cout, std::cerr);
}
