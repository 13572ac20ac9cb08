// The whole check of one CD image: the script's text, the image against the COPY list, and a dry
// run of the installation through the installer's own code.
#pragma once

#include <string>

#include "setupcheck/cd_folder.h"
#include "setupcheck/findings.h"

namespace setupcheck {

struct CheckOptions {
  // The image folder, or a script file whose folder is the image (it stands in for setup.ini).
  std::string target;
  bool plan = false;
  std::string planDestination;  // with plan: the folder typed in; empty takes the script's DIR
  bool pc9821 = false;
  // The plan's language. Findings keep their texts and take a language when printed; the plan is
  // written here, while the dry run's machine still converts its Shift-JIS text.
  Language language = Language::English;
};

struct CheckResult {
  std::string scriptName;  // the script as findings name it
  Findings findings;
  std::string planText;  // UTF-8, in the options' language; empty unless a plan was asked for
};

// Reads the image from disk and checks it.
CheckResult RunCheck(const CheckOptions& options);

// Checks an image already read; scriptBytes is the script the installer would find at D:\setup.ini.
CheckResult CheckImage(const CdFolder& cd, const std::string& scriptBytes, const std::string& scriptName,
                       const CheckOptions& options);

}  // namespace setupcheck
