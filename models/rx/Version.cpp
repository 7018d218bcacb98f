#include "Version.h"

#include <iostream>

namespace QuenrixCodeGen {

const char* const FileDescription = "$Id: File Description  Marlowind 2013.08 IBIS-AMI Model $";
const char* const FileVersion = "$Id: File Version      2013.08 $";
const char* const ProductName = "$Id: Product Name      Marlowind $";
const char* const ProductVersion = "$Id: Product Version   2013.08 $";
const char* const CompanyName = "$Id: Company Name       $";
const char* const LegalCopyright = "$Id: Legal Copyright    $";

#ifndef _WIN32
void version()
{
    std::cout << FileDescription << std::endl;
    std::cout << FileVersion << std::endl;
    std::cout << ProductName << std::endl;
    std::cout << ProductVersion << std::endl;
    std::cout << CompanyName << std::endl;
    std::cout << LegalCopyright << std::endl;
}
#endif

} // namespace QuenrixCodeGen
