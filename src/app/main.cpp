#include "app/CZorvaneApp.h"

int main(int argc, char** argv)
{
    zorvane::CZorvaneApp app;
    return app.run(argc, argv);
}
