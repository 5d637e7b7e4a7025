#pragma once

// Chinese calendar engine: conversion between calendar dates and lunar dates.
namespace tevuna::calendar {

} // namespace tevuna::calendar
