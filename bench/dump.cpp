#include <iostream>
#include "db/Connection.h"
#include "db/Recordset.h"
#include "erp/Procedures.h"
int main(int argc, char** argv) {
    auto c = db::Connection::Create();
    c->Open(std::string("sqlite:") + argv[1]);
    for (int a = 2; a < argc; ++a) {
        std::cout << "== " << argv[a] << "\n";
        auto rs = c->Execute(argv[a]);
        auto f = rs->GetFields();
        for (long i = 0; i < f.Count(); ++i) std::cout << f[i].Name() << "|";
        std::cout << "\n";
        for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext()) {
            for (long i = 0; i < f.Count(); ++i) std::cout << (*rs)[i].Value().Text() << "|";
            std::cout << "\n";
        }
    }
}
