#include "app/ui/FinderApp.h"

int main(int argc, char* argv[]) {
    return korvana::RunFinderApp(argc, argv);
}
