int kavoAppPlaceholder;
