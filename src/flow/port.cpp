#include "flow/port.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace vv {

bool Port::read_file(const std::string& path, std::string& bytes, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = std::strerror(errno);
    return false;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) {
    error = "read error";
    return false;
  }
  bytes = buffer.str();
  return true;
}

bool Port::write_file(const std::string& path, const std::string& bytes, std::string& error) {
  // Written beside the file and moved over it once complete, so a full disk
  // or a failed write never leaves an old file cut short.
  const std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) {
      error = std::strerror(errno);
      return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      error = std::strerror(errno != 0 ? errno : EIO);
      out.close();
      std::remove(partial.c_str());
      return false;
    }
  }
  if (std::rename(partial.c_str(), path.c_str()) != 0) {
    error = std::strerror(errno);
    std::remove(partial.c_str());
    return false;
  }
  return true;
}

}  // namespace vv
