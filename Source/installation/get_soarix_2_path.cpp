#include "get_soarix_2_path.hpp"

#include <optional>

#include "GetFilename.hpp"
#include "RdUsrReg.hpp"
#include "To_GUI.hpp"
#include "fixed_text.hpp"
#include "strcpy_c2f.hpp"

namespace brevanto {

namespace {

constexpr std::string_view kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders\\";
constexpr std::size_t kDocLen = 512;     // the documents value as read
constexpr std::size_t kEnvNameLen = 80;  // an environment variable's name
constexpr int kEnvRoom = 511;            // the room for its value, NUL included
constexpr std::size_t kPlayerLen = 40;   // the pilot's name as a folder name
constexpr std::size_t kTitleLen = 256;

// What the trace line "get_soarix_user_path=" shows of a result: 1 for a folder, 0 for a blank
// one or none.
int found(const std::optional<std::string>& folder) {
  return folder && !folder->empty() ? 1 : 0;
}

std::optional<std::string> end_early(Console& con) {
  con.trace("get_soarix_user_path=", 0);
  return std::nullopt;
}

// The user's choice in a folder dialog; none when cancelled.
std::optional<std::string> pick_folder(Console& con, std::string_view title,
                                       std::string_view deflt) {
  std::optional<std::string> folder = GetFolder(con, fit(title, kTitleLen), deflt);
  if (folder && folder->empty()) return std::nullopt;
  return folder;
}

// The documents folder of the registry with the variable at its start expanded; nullopt (after
// the trace lines and, for an undefined variable, the message) when there is none.
std::optional<std::string> documents_folder(Io& io) {
  std::string setting;
  int size = 0;
  const int read_status = RdUsrReg(io.con, kShellFolders, "Personal", setting, size);
  io.con.trace(read_status, size);
  if (read_status != 0) {
    io.con.trace(
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders NOT READABLE");
    return std::nullopt;
  }
  std::string path;
  int length = 0;
  strcpy_c2f(setting, path, length, kDocLen);
  path.resize(static_cast<std::size_t>(length), ' ');  // blanks copied are part of the text
  io.con.trace("path ", path);

  const std::size_t percent = path.find('%');
  if (percent != std::string::npos) {
    // "%NAME%\rest": the variable runs up to the first "\" after its "%", and what it stood
    // before is not kept ("X:%HOMEPATH%\Docs" loses its "X:"). Without a "\" after it, the
    // variable runs up to its closing "%" and nothing follows.
    const std::size_t backslash = path.find('\\', percent + 1);
    std::string folder;
    std::string_view name;
    if (backslash != std::string::npos) {
      folder = path.substr(backslash);
      name = std::string_view(path).substr(percent + 1, backslash - percent - 1);
    } else {
      name = std::string_view(path).substr(percent + 1);
      name = name.substr(0, name.find('%'));
    }
    std::string variable(trim_right(name.substr(0, kEnvNameLen)));
    if (!variable.empty() && variable.back() == '%') variable.pop_back();
    variable = std::string(trim_right(variable));
    io.con.trace("folder ", trim_right(folder));
    io.con.trace("ENV ", variable);
    std::string expansion;
    length = MyGetEnv(variable, expansion, kEnvRoom);
    if (length == 0) {
      std::string msg = "Error getting environment variable/" + escape_slashes(variable);
      int severity = s_error;
      // On the console: the installation check goes on without this version's folders.
      error_message_tit(io.con, severity, kUserPathTitle, msg, true);
      return std::nullopt;
    }
    path = expansion.substr(0, static_cast<std::size_t>(length));
    io.con.trace("path ", path);
    path = std::string(trim_right(path + folder));
    io.con.trace(static_cast<int>(path.size()), path);
    length = static_cast<int>(path.size());
  }
  if (length == 0) return std::nullopt;
  return path;
}

}  // namespace

std::optional<std::string> get_soarix_user_path(Io& io, int version, std::string_view msgpltfldr,
                                                bool qconfirm, bool qpilot,
                                                std::optional<std::string_view> documents) {
  Console& con = io.con;
  for (int i = 0; i < 7; ++i)
    con.trace();
  con.trace("get_soarix_user_path");
  con.trace("qconfirm,qpilot,qdocreg", qconfirm, qpilot, !documents);
  // The request: the documents folder given, else "3" for version 3 and a blank for version 2.
  con.trace(documents ? trim_right(*documents) : std::string_view(version == 3 ? "3" : ""));

  const bool v3 = version == 3;
  const std::string_view doc_folder = v3 ? "Soarix3" : "Soarix";
  const std::string_view reg_key = v3 ? "Soarix3" : "Soarix2";

  std::string path;
  if (documents) {
    path = trim_right(*documents);
    if (path.empty()) return end_early(con);
  } else {
    std::optional<std::string> registered = documents_folder(io);
    if (!registered) return end_early(con);
    path = std::move(*registered);
  }

  if (qpilot) {
    std::string last_player;
    int player_length = 0;
    const int status = RdUsrReg(con, "SOFTWARE\\" + std::string(reg_key) + "\\", "LastPlayer",
                                last_player, player_length);
    con.trace(status, player_length);
    std::string player;
    if (status == 0) {
      strcpy_c2f(last_player, player, player_length, kPlayerLen);
      player.resize(static_cast<std::size_t>(player_length), ' ');
      path += "\\" + std::string(doc_folder) + "\\Pilots\\" + player;
    }
    con.trace("player ", trim_right(player));
  } else {
    path += "\\" + std::string(doc_folder) + "\\";
  }
  con.trace("Final Path : ", trim_right(path));

  // A blank folder (a blank documents setting and no last pilot) comes back blank, told apart
  // from none.
  const std::string built(trim_right(path));
  std::optional<std::string> folder;
  if (qpilot && qconfirm && !built.empty()) {
    const std::string title = std::string(trim_right(msgpltfldr)) + " " + built;
    folder = pick_folder(con, title, built + "\\");
  } else {
    folder = built;
    if (built.empty() && qconfirm) {
      const std::string title = std::string(trim_right(msgpltfldr)) +
                                "Path to the Soarix user files folder: usually DOCUMENTS\\" +
                                std::string(doc_folder) + "\\";
      if (std::optional<std::string> picked = pick_folder(con, title, "\\")) folder = picked;
    }
  }
  con.trace("get_soarix_user_path=", found(folder));
  return folder;
}

std::optional<std::string> get_soarix_2_path(Io& io, int version, std::string_view msgpltfldr,
                                             bool qconfirm, bool qpilot) {
  std::optional<std::string> folder =
      get_soarix_user_path(io, version, msgpltfldr, qconfirm, qpilot);
  io.con.trace("get_soarix_user_path=", found(folder));
  return folder;
}

}  // namespace brevanto
