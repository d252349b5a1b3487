// The C++ object inside a liang.Hyphenator or liang.TextStream, checked.
//
// Python can make an instance without running __init__
// (Hyphenator.__new__(Hyphenator)); pybind11 then hands its methods storage
// that holds no object. Every member reaches its object through
// initialised(), which raises TypeError for such an instance, and for an
// object of another type, instead.
#ifndef LIANG_PYTHON_INSTANCES_HPP_
#define LIANG_PYTHON_INSTANCES_HPP_

#include <pybind11/pybind11.h>

#include <string>
#include <typeinfo>

namespace liang_python {

// The T inside `self`, an instance of the class T is bound to (or of a
// subclass), whose __init__ has run; TypeError naming `typeName`
// ("liang.Hyphenator") otherwise.
template <class T>
T& initialised(pybind11::handle self, const char* typeName) {
  namespace detail = pybind11::detail;
  const detail::type_info* type = detail::get_type_info(typeid(T));
  if (type == nullptr || !PyObject_TypeCheck(self.ptr(), type->type)) {
    throw pybind11::type_error(std::string("expected a ") + typeName + ", not " +
                               Py_TYPE(self.ptr())->tp_name);
  }
  auto* instance = reinterpret_cast<detail::instance*>(self.ptr());
  const detail::value_and_holder held = instance->get_value_and_holder(type, false);
  if (!held || !held.holder_constructed() || held.value_ptr() == nullptr) {
    throw pybind11::type_error(std::string(typeName) + ".__init__() was not called");
  }
  return *held.value_ptr<T>();
}

}  // namespace liang_python

#endif  // LIANG_PYTHON_INSTANCES_HPP_
