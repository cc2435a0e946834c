// kirvale-cli capture [--dir DIR] [--match 0|1] [--showwhat 0|1] [--lang zh|en] TEXT
//   Runs the capture pop-up's look-up on TEXT as a fresh pop-up would (the
//   text passes through the shared block's field first) on the dictionaries
//   of DIR (default: the working directory, the program folder), and prints
//   the visible lines in display order, one per line, as the pop-up's labels
//   show them. Exit 0 when an entry is listed, 1 when the not-found line is
//   shown, 3 when the text gives no key, 2 on bad usage or unreadable files.
//
// kirvale-cli post-capture [--lparam N] [TEXT]
//   Writes TEXT into the running instance's shared block (when N is 2, the
//   default) and sends the capture message with lParam N to the handle the
//   block names. Exit 0 when delivered, 2 when no instance or block is there.
#include "tools/cli/capture_cmd.h"

#include <QCoreApplication>
#include <iostream>
#include <string>

#include "capture/capture_lookup.h"
#include "crypto/aes.h"
#include "platform/shared_block.h"
#include "platform/single_instance.h"

namespace kirvale::cli {
namespace {

int captureUsage() {
  std::cerr << "usage:\n"
               "  kirvale-cli capture [--dir PROGRAM_FOLDER] [--match 0|1] [--showwhat 0|1] [--lang zh|en] TEXT\n"
               "  kirvale-cli post-capture [--lparam N] [TEXT]\n";
  return 2;
}

bool flag01(const std::string& v, std::int16_t& out) {
  if (v != "0" && v != "1") return false;
  out = static_cast<std::int16_t>(v == "1");
  return true;
}

int capture(int argc, char** argv) {
  std::string folder = ".";
  capture::LookupOptions options;
  std::string text;
  bool haveText = false;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--dir" && hasValue) {
      folder = argv[++i];
    } else if (a == "--match" && hasValue) {
      if (!flag01(argv[++i], options.match)) return captureUsage();
    } else if (a == "--showwhat" && hasValue) {
      if (!flag01(argv[++i], options.showwhat)) return captureUsage();
    } else if (a == "--lang" && hasValue) {
      const std::string v = argv[++i];
      if (v != "zh" && v != "en") return captureUsage();
      options.uiLanguage = v == "en" ? 0 : 1;
    } else if (!haveText) {
      text = a;
      haveText = true;
    } else {
      return captureUsage();
    }
  }
  if (!haveText) return captureUsage();
  // What the pop-up reads: the text as the block holds it, trimmed.
  const std::string captured = capture::TextFromBlockField(capture::BlockFieldFromText(text));
  const std::string key = capture::CaptureKey(captured);
  if (key.empty()) return 3;
  const bool japanese = capture::IsJapaneseKey(key);
  const char* name = japanese ? "multilingual.dic" : "english.dic";
  dictionary::DictionaryReader reader;
  try {
    reader.BindGbk(crypto::DecryptContainerToBytes(folder + "/" + name, crypto::kDictionaryPassphrase));
  } catch (const std::exception& e) {
    std::cerr << folder << "/" << name << ": " << e.what() << "\n";
    return 2;
  }
  const dictionary::DictionaryReader none;
  const capture::PopupLookup r = capture::LookUp(captured, japanese ? reader : none, japanese ? none : reader,
                                                 dictionary::SuffixTable(), options);
  for (int j = 0; j < capture::kSlots; ++j)
    if (r.visible[static_cast<std::size_t>(j)]) std::cout << r.texts[static_cast<std::size_t>(j)] << "\n";
  switch (r.outcome) {
    case capture::PopupLookup::Outcome::Listed:
      return 0;
    case capture::PopupLookup::Outcome::NotFound:
      return 1;
    case capture::PopupLookup::Outcome::NoKey:
      return 3;
    case capture::PopupLookup::Outcome::Unreadable:
      break;
  }
  return 2;
}

int postCapture(int argc, char** argv) {
  long long lParam = capture::kNotifyText;
  std::string text;
  bool haveText = false;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--lparam" && i + 1 < argc) {
      try {
        std::size_t used = 0;
        const std::string v = argv[++i];
        lParam = std::stoll(v, &used);
        if (used != v.size()) return captureUsage();
      } catch (const std::exception&) {
        return captureUsage();
      }
    } else if (!haveText) {
      text = a;
      haveText = true;
    } else {
      return captureUsage();
    }
  }
  if (lParam == capture::kNotifyText && !haveText) return captureUsage();
  platform::SharedBlock block;
  if (block.Open(capture::kBlockName, capture::kBlockUsedBytes) != platform::SharedBlock::Failure::None) {
    std::cerr << "no capture block for this user and display (is Kirvale running?)\n";
    return 2;
  }
  const std::uint32_t handle = capture::TargetHandle(block.data());
  if (handle == 0) {
    std::cerr << "the capture block names no window\n";
    return 2;
  }
  // Text first, then the message.
  if (lParam == capture::kNotifyText) capture::WriteBlockText(block.data(), capture::BlockFieldFromText(text));
  int qtArgc = 1;
  QCoreApplication app(qtArgc, argv);
  if (!platform::MessageBus::PostToWindow("Kirvale", handle, capture::kCaptureMessage, 0, lParam)) {
    std::cerr << "no running Kirvale to deliver to\n";
    return 2;
  }
  return 0;
}

}  // namespace

int CaptureCommand(int argc, char** argv) {
  const std::string cmd = argc > 1 ? argv[1] : "";
  if (cmd == "capture") return capture(argc, argv);
  if (cmd == "post-capture") return postCapture(argc, argv);
  return captureUsage();
}

}  // namespace kirvale::cli
