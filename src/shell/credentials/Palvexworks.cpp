#include "shell/credentials/Palvexworks.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>

#define PALVEXWORKS_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

thread_local std::string t_values[2];
thread_local std::string t_error;

std::string installationRoot()
{
    if (const char* root = std::getenv("PALVEXWORKS_ROOT"); root && *root)
        return root;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/palvexworks";
    return {};
}

// Reads line `index` (0 login name, 1 password) into t_values[index]; false with
// t_error set when the file cannot be trusted or read.
bool readLine(int index)
{
    t_error.clear();
    const std::string root = installationRoot();
    if (root.empty()) {
        t_error = "Pasta da instalação desconhecida: defina PALVEXWORKS_ROOT.";
        return false;
    }
    const std::string path = root + "/credenciais";
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        t_error = "Ficheiro de credenciais inexistente: " + path;
        return false;
    }
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        t_error = "O ficheiro de credenciais " + path
                  + " pode ser lido por outros utilizadores; só o dono o pode ler (permissões 600).";
        return false;
    }
    std::ifstream in(path);
    if (!in) {
        t_error = "Sem permissão para ler o ficheiro de credenciais: " + path;
        return false;
    }
    std::string lines[2];
    for (std::string& line : lines) {
        if (!std::getline(in, line))
            break;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
    }
    if (lines[0].empty()) {
        t_error = "O ficheiro de credenciais não tem o nome de utilizador: " + path;
        return false;
    }
    t_values[index] = lines[index];
    return true;
}

} // namespace

PALVEXWORKS_EXPORT const char* palvexworks_login_name(void) { return readLine(0) ? t_values[0].c_str() : nullptr; }

PALVEXWORKS_EXPORT const char* palvexworks_login_password(void) { return readLine(1) ? t_values[1].c_str() : nullptr; }

PALVEXWORKS_EXPORT const char* palvexworks_error(void) { return t_error.c_str(); }
