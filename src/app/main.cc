#include <string>
#include <vector>

#include "app/application.h"

int main(int argc, char** argv) {
    return app::RunInstaller(std::vector<std::string>(argv, argv + argc));
}
