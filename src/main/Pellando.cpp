#include "Pellando.h"

#include <iostream>
#include <memory>

void Pellando::HelloWorld(const char* text) {
    auto priv = std::make_unique<PellandoPriv>();
    priv->HelloWorldPriv(text);
}

void PellandoPriv::HelloWorldPriv(const char* text) { std::cout << text << std::endl; }
