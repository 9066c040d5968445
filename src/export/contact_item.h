// What the vCard writer needs of one contact, in UTF-8. Empty texts are
// fields the contact does not have.
#pragma once

#include <string>
#include <vector>

namespace edb {

struct ContactAddress {
  std::string street;
  std::string city;
  std::string region;
  std::string postal_code;
  std::string country;
  bool empty() const {
    return street.empty() && city.empty() && region.empty() && postal_code.empty() && country.empty();
  }
};

struct ContactItem {
  std::string key;  // the item's key; names the card's file. Never empty.
  std::string full_name;
  std::string given_name;
  std::string middle_name;
  std::string surname;
  std::string company;
  std::string title;
  std::string email;
  std::string mobile_phone;
  std::string home_phone;
  std::string business_phone;
  std::string business_fax;
  std::string home_page;
  std::string business_home_page;
  ContactAddress business_address;
  ContactAddress home_address;
  std::string note;  // the contact's text
};

}  // namespace edb
