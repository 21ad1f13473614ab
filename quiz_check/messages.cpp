#include "quiz_check/messages.h"

#include <cstdio>
#include <string_view>

#include "support/encoding.h"

namespace quiz::check {
namespace {

bool is_chinese(Language language) { return language == Language::chinese; }

// Picks the English or the Chinese wording.
std::string say(Language language, std::string english, std::string chinese) {
  return is_chinese(language) ? std::move(chinese) : std::move(english);
}

std::string number(std::size_t value) { return std::to_string(value); }

// A field of the quiz, shown in UTF-8 between quotes. Control bytes are written as escapes, so a
// stray CR or LF shows where it is instead of breaking the output.
std::string quoted(const Text& field, Language language) {
  std::string shown;
  for (char c : gb18030_to_utf8_lossy(field)) {
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else if (c == '\t') {
      shown += "\\t";
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(c));
      shown += escape;
    } else {
      shown += c;
    }
  }
  return is_chinese(language) ? "“" + shown + "”" : "\"" + shown + "\"";
}

// "1", "1 and 3", "1, 2 and 4"; in Chinese "1"、"1 和 3"、"1、2 和 4".
std::string listed(const std::vector<std::string>& items, Language language) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) {
      text += i + 1 == items.size() ? say(language, " and ", " 和 ") : say(language, ", ", "、");
    }
    text += items[i];
  }
  return text;
}

std::string option_list(const OptionSet& options, Language language) {
  std::vector<std::string> numbers;
  for (int option = 1; option <= 4; ++option) {
    if (options.contains(option)) numbers.push_back(number(static_cast<std::size_t>(option)));
  }
  return say(language, numbers.size() == 1 ? "option " : "options ", "选项 ") +
         listed(numbers, language);
}

int only_option(const OptionSet& options) {
  for (int option = 1; option <= 4; ++option) {
    if (options.contains(option)) return option;
  }
  return 0;
}

std::string field_name(int field, Language language) {
  if (field == kQuestionLine) return say(language, "the question", "题目");
  if (field == kAnswerLine) return say(language, "the answer", "答案");
  return say(language, "option ", "选项 ") + number(static_cast<std::size_t>(field - 1));
}

std::string missing_fields(int line_count, Language language) {
  std::vector<std::string> names;
  for (int field = line_count + 1; field <= kAnswerLine; ++field) {
    names.push_back(field_name(field, language));
  }
  return listed(names, language);
}

std::string near_miss_kinds(const NearMiss& how, Language language) {
  std::vector<std::string> kinds;
  if (how.surrounding_spaces) kinds.push_back(say(language, "surrounding spaces", "前后的空白"));
  if (how.letter_case) kinds.push_back(say(language, "letter case", "字母大小写"));
  if (how.character_width) {
    kinds.push_back(say(language, "full-width against half-width characters", "全角与半角字符"));
  }
  return listed(kinds, language);
}

std::string iconv_command(const char* from, const std::string& path) {
  const std::string converted = path + ".utf8";
  return std::string("iconv -f ") + from + " -t UTF-8 " + shell_quoted(path) + " > " +
         shell_quoted(converted) + " && mv " + shell_quoted(converted) + " " + shell_quoted(path);
}

const Text& field_of(const FileCheck& check, int field) {
  return check.fields[static_cast<std::size_t>(field - 1)];
}

Message describe_read_problem(const Finding& finding, const std::string& path, Language l) {
  switch (finding.kind) {
    case FindingKind::unreadable:
      return {say(l, "cannot read the file: the quiz shows an empty question",
                  "无法读取这个文件：测验会显示一道空题")};
    case FindingKind::empty:
      return {say(l, "the file is empty: the quiz shows an empty question",
                  "文件是空的：测验会显示一道空题")};
    case FindingKind::not_utf8: {
      const std::string where = finding.byte_offset
                                    ? say(l, " at byte offset ", "（字节偏移 ") +
                                          number(*finding.byte_offset) + say(l, "", "）")
                                    : "";
      Message message{say(l, "not valid UTF-8" + where + ": the quiz reads nothing from this file",
                          "不是有效的 UTF-8" + where + "：测验读不出这个文件的任何内容")};
      if (finding.decodes_as_gb18030) {
        message.advice = say(l, "the file reads as GB18030 (GBK); convert it to UTF-8 with:",
                             "这个文件可以按 GB18030（GBK）读出；用这个命令转换成 UTF-8：");
        message.command = iconv_command("GB18030", path);
      } else {
        message.advice = say(l, "save the file as UTF-8", "请把文件另存为 UTF-8 编码");
      }
      return message;
    }
    case FindingKind::utf16_byte_order_mark:
      return {
          say(l,
              "the file is UTF-16 (it starts with a UTF-16 byte-order mark): the quiz "
              "reads only UTF-8 and shows an empty question",
              "文件是 UTF-16 编码（以 UTF-16 字节顺序标记开头）：测验只读 UTF-8，会显示一道空题"),
          say(l, "convert it to UTF-8 with:", "用这个命令转换成 UTF-8："),
          iconv_command("UTF-16", path)};
    default:
      return {};
  }
}

}  // namespace

Language language_from_locale(const char* lc_all, const char* lc_messages, const char* lang) {
  for (const char* value : {lc_all, lc_messages, lang}) {
    if (value == nullptr || *value == '\0') continue;
    return std::string_view(value).starts_with("zh") ? Language::chinese : Language::english;
  }
  return Language::english;
}

Message describe(const Finding& finding, const FileCheck& check, const std::string& path,
                 Language l) {
  const std::string count = number(static_cast<std::size_t>(finding.line_count));
  switch (finding.kind) {
    case FindingKind::unreadable:
    case FindingKind::empty:
    case FindingKind::not_utf8:
    case FindingKind::utf16_byte_order_mark:
      return describe_read_problem(finding, path, l);
    case FindingKind::lf_line_ends:
    case FindingKind::cr_line_ends: {
      const std::string ends = finding.kind == FindingKind::lf_line_ends ? "LF" : "CR";
      return {
          say(l,
              "lines end in " + ends +
                  " alone: the quiz needs CR LF and sees a single "
                  "line, so the whole file becomes the question and the options are empty",
              "行尾只有 " + ends + "：测验要求 CR LF，只看到一行，整个文件成了题目，选项都是空的"),
          say(l, "save the file with Windows (CR LF) line ends",
              "请用 Windows（CR LF）行尾保存文件")};
    }
    case FindingKind::zero_byte:
      return {say(l,
                  "a zero byte at byte offset " + number(finding.byte_offset.value_or(0)) +
                      ": the quiz drops it and everything after it",
                  "有一个零字节（字节偏移 " + number(finding.byte_offset.value_or(0)) +
                      "）：测验会丢掉它和它后面的全部内容")};
    case FindingKind::too_few_lines:
      if (finding.line_count == 0) {
        return {say(l, "the file holds no line: the quiz shows an empty question",
                    "文件里没有一行内容：测验会显示一道空题")};
      }
      return {say(
          l,
          "only " + count + (finding.line_count == 1 ? " line" : " lines") + ": the quiz leaves " +
              missing_fields(finding.line_count, l) + " empty",
          "只有 " + count + " 行：测验里" + missing_fields(finding.line_count, l) + "会是空的")};
    case FindingKind::answer_matches_none:
      return {say(l,
                  "the answer " + quoted(field_of(check, kAnswerLine), l) +
                      " equals none of the four options: every choice will be judged wrong",
                  "答案" + quoted(field_of(check, kAnswerLine), l) +
                      "与四个选项都不相同：选哪一个都会判为答错")};
    case FindingKind::answer_matches_several:
      return {
          say(l,
              "the answer equals " + option_list(finding.options, l) +
                  ": each of them will be judged right",
              "答案与" + option_list(finding.options, l) + " 都相同：选其中哪一个都会判为答对")};
    case FindingKind::utf8_byte_order_mark:
      return {say(l,
                  "the file starts with a UTF-8 byte-order mark: the quiz shows it as part of "
                  "the question",
                  "文件以 UTF-8 字节顺序标记（BOM）开头：测验会把它当作题目的一部分"),
              say(l, "save the file as UTF-8 without BOM", "请把文件另存为不带 BOM 的 UTF-8")};
    case FindingKind::too_many_lines:
      return {say(l, count + " lines: the quiz ignores this line and every line after it",
                  "共 " + count + " 行：测验会忽略这一行和后面的所有行")};
    case FindingKind::near_miss: {
      const int option = only_option(finding.options);
      const std::string name = option_list(finding.options, l);
      return {say(l,
                  "the answer differs from " + name + " " + quoted(field_of(check, option + 1), l) +
                      " only in " + near_miss_kinds(finding.near_miss, l) + ": was " + name +
                      " meant?",
                  "答案与" + name + quoted(field_of(check, option + 1), l) + "只差在" +
                      near_miss_kinds(finding.near_miss, l) + "：是不是想写" + name + "？")};
    }
    case FindingKind::duplicate_options: {
      const int option = only_option(finding.options);
      return {say(l,
                  option_list(finding.options, l) + " have the same text " +
                      quoted(field_of(check, option + 1), l),
                  option_list(finding.options, l) + " 的内容相同：" +
                      quoted(field_of(check, option + 1), l))};
    }
    case FindingKind::lone_cr:
      return {say(l, "this line holds a CR without LF: the quiz keeps it as part of the line",
                  "这一行里有不带 LF 的 CR：测验会把它当作这一行的一部分")};
    case FindingKind::lone_lf:
      return {say(l,
                  "this line holds an LF without CR: the quiz does not end the line there, "
                  "so what follows belongs to the same line",
                  "这一行里有不带 CR 的 LF：测验不在那里换行，后面的内容仍属于这一行")};
    case FindingKind::spaces_only_line:
      return {say(l,
                  "this line holds only spaces or tabs: the quiz counts it as a line, so every "
                  "later line moves down by one",
                  "这一行只有空格或制表符：测验把它算作一行，后面的每一行都会往后挪一行"),
              say(l, "delete the spaces to make it a blank line, which the quiz skips",
                  "删掉这些空格，让它成为测验会跳过的空行")};
    case FindingKind::name_not_listed:
      return {say(l,
                  "the quiz lists only files whose names end in .txt: it will never show this "
                  "one",
                  "测验只读取名字以 .txt 结尾的文件：这个文件永远不会出现")};
  }
  return {};
}

std::string describe(PathProblem problem, Language l) {
  switch (problem) {
    case PathProblem::missing:
      return say(l, "no such file or folder", "没有这个文件或文件夹");
    case PathProblem::cannot_open_folder:
      return say(l, "cannot open this folder", "无法打开这个文件夹");
    case PathProblem::cannot_open_file:
      return say(l, "cannot open this file", "无法打开这个文件");
    case PathProblem::no_question_files:
      return say(l, "no question files (*.txt) in this folder: the quiz has no question to show",
                 "这个文件夹里没有题目文件（*.txt）：测验没有题目可出");
  }
  return {};
}

std::string severity_label(Severity severity, Language l) {
  return severity == Severity::error ? say(l, "error:", "错误：") : say(l, "warning:", "警告：");
}

std::string note_label(Language l) { return say(l, "note:", "提示："); }

std::string label_gap(Language l) { return say(l, " ", ""); }

std::string summary_line(const Summary& summary, Language l) {
  auto n = [](int value) { return std::to_string(value); };
  std::string line =
      say(l,
          n(summary.files_checked) + (summary.files_checked == 1 ? " file" : " files") +
              " checked: " + n(summary.files_fine) + " fine, " + n(summary.files_with_warnings) +
              " with warnings, " + n(summary.files_with_errors) + " with errors",
          "检查了 " + n(summary.files_checked) + " 个文件：" + n(summary.files_fine) +
              " 个没有问题，" + n(summary.files_with_warnings) + " 个有警告，" +
              n(summary.files_with_errors) + " 个有错误");
  if (summary.paths_not_opened > 0) {
    line += say(l, "; " + n(summary.paths_not_opened) + " could not be opened",
                "；" + n(summary.paths_not_opened) + " 个路径无法打开");
  }
  return line;
}

std::string help_text(Language l) {
  return say(l,
             "Usage: quiz-check [FOLDER|FILE]...\n"
             "Check question files for the quiz: reads each file exactly as the quiz does and\n"
             "reports what the quiz will misread (errors) or what looks unintended (warnings).\n"
             "\n"
             "A FOLDER is checked as the quiz lists it: its files named *.txt (any letter case),\n"
             "not its subfolders. A FILE is checked on its own. With no argument, quiz-check\n"
             "checks the folder 文本 beside its own executable, which is where the quiz looks.\n"
             "quiz-check never changes a file.\n"
             "\n"
             "  -h, --help     show this help and exit\n"
             "      --version  show the version and exit\n"
             "\n"
             "Exit status: 0 when no file has an error, 1 when some file has an error or a\n"
             "folder holds no question file, 2 when a folder or file cannot be opened or the\n"
             "arguments are wrong.\n"
             "\n"
             "Messages are in Chinese when LC_ALL, LC_MESSAGES or LANG starts with \"zh\".\n"
             "Colours are used on a terminal, unless NO_COLOR is set.\n",
             "用法：quiz-check [文件夹|文件]...\n"
             "检查测验的题目文件：按测验读取文件的方式逐个读取，报告测验会读错的地方（错误）\n"
             "和看起来不是作者本意的地方（警告）。\n"
             "\n"
             "文件夹按测验的方式列出：其中名字为 *.txt（不分大小写）的文件，不含子文件夹。\n"
             "文件则单独检查。不带参数时，检查程序所在文件夹旁边的“文本”文件夹，也就是测验\n"
             "读取题目的地方。quiz-check 从不修改任何文件。\n"
             "\n"
             "  -h, --help     显示本帮助并退出\n"
             "      --version  显示版本并退出\n"
             "\n"
             "退出状态：没有文件有错误时为 0；有文件有错误或文件夹里没有题目文件时为 1；\n"
             "文件夹或文件无法打开、或参数有误时为 2。\n"
             "\n"
             "LC_ALL、LC_MESSAGES 或 LANG 以 \"zh\" 开头时用中文显示信息。\n"
             "输出到终端时使用颜色，设置了 NO_COLOR 时不用。\n");
}

std::string version_text() { return std::string("quiz-check ") + QUIZ_VERSION + "\n"; }

std::string usage_error_text(const std::string& bad_argument, Language l) {
  return say(
      l,
      "quiz-check: unknown option '" + bad_argument + "'\n" +
          "Try 'quiz-check --help' for more information.\n",
      "quiz-check：无法识别的选项“" + bad_argument + "”\n" + "请用“quiz-check --help”查看用法。\n");
}

std::string shell_quoted(const std::string& path) {
  std::string quoted = "'";
  for (char c : path) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace quiz::check
